// Checked helpers over libsodium's ristretto255 group, for the fair deal.
// Nothing here is a new primitive: each function composes libsodium's own
// (crypto_core_ristretto255_*, crypto_scalarmult_ristretto255*,
// crypto_generichash) and checks every result, so that the deal above reads
// as its protocol and never handles a failed call by accident.
#pragma once

#include <sodium.h>

#include <array>
#include <cstdint>

#include "net/bytes.h"

namespace tesva::net::ristretto {

inline constexpr std::size_t kElementBytes = crypto_core_ristretto255_BYTES;
inline constexpr std::size_t kScalarBytes = crypto_core_ristretto255_SCALARBYTES;
inline constexpr std::size_t kProofBytes = 2 * kScalarBytes;

using Element = std::array<std::uint8_t, kElementBytes>;
using Scalar = std::array<std::uint8_t, kScalarBytes>;

// sodium_init, once; false when libsodium cannot start.
bool Ready();

// An element the deal may use: a valid encoding, canonical, and not the
// identity. libsodium 1.0.18 ignores the top bit of the last byte when it
// decodes, so two byte strings can name one element; refusing that bit
// keeps a byte comparison an element comparison.
bool Acceptable(const Element& element);
// A scalar in canonical form (below the group order) and not zero.
bool AcceptableScalar(const Scalar& scalar);

Scalar RandomScalar();  // never zero
Scalar Invert(const Scalar& scalar);
// scalar * base point.
Element Public(const Scalar& scalar);
// scalar * element; false when the result would be the identity (a zero
// scalar or an unusable element).
bool Multiply(const Scalar& scalar, const Element& element, Element& out);
// An element from 64 bytes of hash, with no known logarithm to any other.
Element FromHash(const std::uint8_t (&hash)[crypto_core_ristretto255_HASHBYTES]);

// A Chaum-Pedersen proof that log_base(key) == log_share(target), that is,
// that target == x * share for the x behind key == x * base, without
// telling x. `context` binds the proof to where it is used (Fiat-Shamir):
// a proof made for one context does not check in another.
struct Proof {
  Scalar challenge{};
  Scalar response{};
};
Proof ProveEqualLogs(ByteView context, const Scalar& x, const Element& key, const Element& share,
                     const Element& target);
bool CheckEqualLogs(ByteView context, const Element& key, const Element& share,
                    const Element& target, const Proof& proof);

}  // namespace tesva::net::ristretto
