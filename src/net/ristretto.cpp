#include "net/ristretto.h"

#include <algorithm>

namespace tesva::net::ristretto {
namespace {

constexpr std::string_view kProofLabel = "tesva/deal/equal-logs";

// The challenge: a hash of everything the verifier sees, reduced to a
// scalar from 64 bytes so that its bias is negligible.
Scalar Challenge(ByteView context, const Element& key, const Element& share, const Element& target,
                 const Element& commitBase, const Element& commitShare) {
  std::uint8_t wide[crypto_core_ristretto255_NONREDUCEDSCALARBYTES];
  crypto_generichash_state state;
  crypto_generichash_init(&state, nullptr, 0, sizeof wide);
  crypto_generichash_update(&state, ViewOf(kProofLabel).data(), kProofLabel.size());
  const std::uint8_t contextSize[2] = {static_cast<std::uint8_t>(context.size() >> 8),
                                       static_cast<std::uint8_t>(context.size())};
  crypto_generichash_update(&state, contextSize, sizeof contextSize);
  crypto_generichash_update(&state, context.data(), context.size());
  for (const Element* e : {&key, &share, &target, &commitBase, &commitShare}) {
    crypto_generichash_update(&state, e->data(), e->size());
  }
  crypto_generichash_final(&state, wide, sizeof wide);
  Scalar out;
  crypto_core_ristretto255_scalar_reduce(out.data(), wide);
  return out;
}

bool IsZero(const Scalar& scalar) {
  return sodium_is_zero(scalar.data(), scalar.size()) == 1;
}

}  // namespace

bool Ready() {
  static const bool ready = sodium_init() >= 0;
  return ready;
}

bool Acceptable(const Element& element) {
  return (element[kElementBytes - 1] & 0x80) == 0 &&
         sodium_is_zero(element.data(), element.size()) != 1 &&
         crypto_core_ristretto255_is_valid_point(element.data()) == 1;
}

bool AcceptableScalar(const Scalar& scalar) {
  // Reducing a canonical scalar gives it back; one at or above the group
  // order comes back smaller.
  std::uint8_t wide[crypto_core_ristretto255_NONREDUCEDSCALARBYTES] = {};
  std::copy(scalar.begin(), scalar.end(), wide);
  Scalar reduced;
  crypto_core_ristretto255_scalar_reduce(reduced.data(), wide);
  sodium_memzero(wide, sizeof wide);
  bool same = sodium_memcmp(reduced.data(), scalar.data(), scalar.size()) == 0;
  sodium_memzero(reduced.data(), reduced.size());
  return same && !IsZero(scalar);
}

Scalar RandomScalar() {
  Scalar out;
  do {
    crypto_core_ristretto255_scalar_random(out.data());
  } while (IsZero(out));
  return out;
}

Scalar Invert(const Scalar& scalar) {
  Scalar out{};
  // Fails only for zero, which no caller passes (RandomScalar and
  // AcceptableScalar refuse it).
  if (crypto_core_ristretto255_scalar_invert(out.data(), scalar.data()) != 0) out.fill(0);
  return out;
}

Element Public(const Scalar& scalar) {
  Element out{};
  if (crypto_scalarmult_ristretto255_base(out.data(), scalar.data()) != 0) out.fill(0);
  return out;
}

bool Multiply(const Scalar& scalar, const Element& element, Element& out) {
  return crypto_scalarmult_ristretto255(out.data(), scalar.data(), element.data()) == 0;
}

Element FromHash(const std::uint8_t (&hash)[crypto_core_ristretto255_HASHBYTES]) {
  Element out;
  crypto_core_ristretto255_from_hash(out.data(), hash);
  return out;
}

Proof ProveEqualLogs(ByteView context, const Scalar& x, const Element& key, const Element& share,
                     const Element& target) {
  // k fresh; commitments k*base and k*share; challenge c; response
  // k + c*x.
  Scalar k = RandomScalar();
  Element commitBase = Public(k);
  Element commitShare{};
  Multiply(k, share, commitShare);
  Proof proof;
  proof.challenge = Challenge(context, key, share, target, commitBase, commitShare);
  Scalar cx;
  crypto_core_ristretto255_scalar_mul(cx.data(), proof.challenge.data(), x.data());
  crypto_core_ristretto255_scalar_add(proof.response.data(), k.data(), cx.data());
  sodium_memzero(k.data(), k.size());
  sodium_memzero(cx.data(), cx.size());
  return proof;
}

bool CheckEqualLogs(ByteView context, const Element& key, const Element& share,
                    const Element& target, const Proof& proof) {
  if (!Acceptable(key) || !Acceptable(share) || !Acceptable(target) ||
      !AcceptableScalar(proof.challenge) || !AcceptableScalar(proof.response)) {
    return false;
  }
  // The commitments the prover must have used: response*base -
  // challenge*key and response*share - challenge*target.
  Element zBase, cKey, zShare, cTarget, commitBase, commitShare;
  if (!Multiply(proof.response, share, zShare) || !Multiply(proof.challenge, key, cKey) ||
      !Multiply(proof.challenge, target, cTarget)) {
    return false;
  }
  zBase = Public(proof.response);
  if (crypto_core_ristretto255_sub(commitBase.data(), zBase.data(), cKey.data()) != 0 ||
      crypto_core_ristretto255_sub(commitShare.data(), zShare.data(), cTarget.data()) != 0) {
    return false;
  }
  Scalar expected = Challenge(context, key, share, target, commitBase, commitShare);
  return sodium_memcmp(expected.data(), proof.challenge.data(), expected.size()) == 0;
}

}  // namespace tesva::net::ristretto
