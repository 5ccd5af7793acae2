// The window draws texts, it does not write them: every string literal in
// src/window (its tests aside, which read the texts) must be ASCII and look
// like code (an object name, a format, a symbol), or be listed in
// window_literals.txt with the reason it is not a text for the player. A
// caption written into the window, even one without a Turkish letter
// ("Tamam", "Toplam"), fails here; it belongs in the core.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Literal {
  std::string text;  // as written between the quotes, escapes unread
  int line = 0;
};

bool IsIdentifierChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The string and character literals of a C++ source, comments skipped.
std::vector<Literal> LiteralsOf(const std::string& source) {
  std::vector<Literal> found;
  int line = 1;
  std::size_t i = 0;
  auto advance = [&](std::size_t to) {
    for (; i < to && i < source.size(); ++i) line += source[i] == '\n';
  };
  while (i < source.size()) {
    char c = source[i];
    bool lineStart = i == 0 || source[i - 1] == '\n';
    if (source.compare(i, 2, "//") == 0 || (lineStart && source.compare(i, 8, "#include") == 0)) {
      // A comment, or a header's path.
      advance(source.find('\n', i));
    } else if (source.compare(i, 2, "/*") == 0) {
      std::size_t end = source.find("*/", i + 2);
      advance(end == std::string::npos ? end : end + 2);
    } else if (c == '"' && i > 0 && source[i - 1] == 'R' &&
               (i < 2 || !IsIdentifierChar(source[i - 2]) || source[i - 2] == '8' ||
                source[i - 2] == 'u' || source[i - 2] == 'U' || source[i - 2] == 'L')) {
      // R"delimiter( ... )delimiter"
      std::size_t open = source.find('(', i);
      std::string close = ")" + source.substr(i + 1, open - i - 1) + "\"";
      std::size_t end = source.find(close, open);
      found.push_back({source.substr(open + 1, end - open - 1), line});
      advance(end == std::string::npos ? end : end + close.size());
    } else if (c == '"' || (c == '\'' &&
                            !(i > 0 && std::isxdigit(static_cast<unsigned char>(source[i - 1]))))) {
      // A quote after a digit is a digit separator (1'000), not a literal.
      std::size_t end = i + 1;
      while (end < source.size() && source[end] != c && source[end] != '\n') {
        end += source[end] == '\\' ? 2 : 1;
      }
      found.push_back({source.substr(i + 1, end - i - 1), line});
      advance(end + 1);
    } else {
      advance(i + 1);
    }
  }
  return found;
}

// Written the way code is, never the way a caption is: a digit, an
// underscore or a capital inside a word ("mnuYeni", "Player1_Kart").
bool LooksLikeCode(const std::string& text) {
  bool inner = text.size() == 1;  // extern "C", a suit's letter
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (!IsIdentifierChar(c) && c != '%' && c != '(' && c != ')') return false;
    bool afterLower = i > 0 && std::islower(static_cast<unsigned char>(text[i - 1]));
    inner |= std::isdigit(static_cast<unsigned char>(c)) || c == '_' ||
             (afterLower && std::isupper(static_cast<unsigned char>(c)));
  }
  return inner;
}

// The text with every escape read as a blank: "%s\n" has no letter.
// `beyondAscii` is set by a byte beyond ASCII, written as it is or as an
// escape.
std::string WithoutEscapes(const std::string& text, bool& beyondAscii) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    beyondAscii |= static_cast<unsigned char>(text[i]) > 0x7f;
    if (text[i] != '\\') {
      plain += text[i];
      continue;
    }
    plain += ' ';
    if (++i >= text.size()) break;
    char kind = text[i];
    beyondAscii |= kind == 'u' || kind == 'U' || kind == 'N' || kind == '2' ||
                   kind == '3';  // octal \200 and above
    if (kind != 'x') continue;
    beyondAscii |= std::stoul("0" + text.substr(i + 1, 2), nullptr, 16) > 0x7f;
    while (i + 1 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1]))) ++i;
  }
  return plain;
}

bool HasLetter(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](unsigned char c) { return std::isalpha(c); });
}

// Why a literal is not allowed in the window; "" when it is.
std::string Fault(const std::string& text, const std::set<std::string>& listed) {
  bool beyondAscii = false;
  std::string plain = WithoutEscapes(text, beyondAscii);
  if (beyondAscii) return "not ASCII: a text for the player, made in the core";
  if (!HasLetter(plain) || LooksLikeCode(plain) || listed.contains(text)) return "";
  return "reads like a text: make it in the core, or list it in window_literals.txt";
}

std::set<std::string> Listed() {
  std::ifstream file(fs::path(TESVA_SOURCE_DIR) / "tests/window_texts/window_literals.txt");
  std::set<std::string> listed;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line[0] != '#') listed.insert(line);
  }
  return listed;
}

// Every kind of literal is found, comments and headers' paths skipped; of
// those found, the captions fail and the code and the listed names pass.
TEST(WindowLiteralsTest, TheScannerFailsCaptionsInEveryKindOfLiteral) {
  std::string source =
      "#include \"window/x.h\"\n// \"İptal\" in a comment\n"
      "/* \"Tamam\" */ auto a = QStringLiteral(\"Oyun Aç\");\n"
      "auto b = u8\"\\u0130pucu\"; auto c = R\"x(Toplam \"x\")x\"; char d = '\"';\n"
      "int e = 1'000; auto f = \"say \\\"Reddet\\\"\"; f = \"\\xc4\\xb0ptal\" \"\\304\\260ptal\";\n"
      "g(\"kazandı\", \"yan yana \", \"Port:\", \"mnuYeni\", \"Player1_Kart\", \"HostDialog\",\n"
      "  \"%1(%2)\", \", \", \"+%1\", \"cancel\", \"\\n\", \"Tamam\");\n";
  std::vector<std::string> faults;
  for (const Literal& literal : LiteralsOf(source)) {
    if (!Fault(literal.text, {"cancel"}).empty()) faults.push_back(literal.text);
  }
  EXPECT_EQ(faults,
            (std::vector<std::string>{"Oyun Aç", "\\u0130pucu", "Toplam \"x\"",
                                      "say \\\"Reddet\\\"", "\\xc4\\xb0ptal", "\\304\\260ptal",
                                      "kazandı", "yan yana ", "Port:", "Tamam"}));
  EXPECT_EQ(LiteralsOf(source)[2].line, 4);
}

TEST(WindowLiteralsTest, TheWindowWritesNoTextOfItsOwn) {
  std::set<std::string> listed = Listed();
  ASSERT_FALSE(listed.empty()) << "window_literals.txt was not read";
  fs::path window = fs::path(TESVA_SOURCE_DIR) / "src/window";
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(window)) {
    fs::path path = entry.path();
    std::string relative = fs::relative(path, window).generic_string();
    bool source = path.extension() == ".cpp" || path.extension() == ".h";
    // The window's tests read the texts the core makes.
    if (!source || relative.starts_with("tests/") || relative.find("/tests/") != std::string::npos)
      continue;
    ++files;
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    for (const Literal& literal : LiteralsOf(text.str())) {
      std::string fault = Fault(literal.text, listed);
      EXPECT_EQ(fault, "") << "src/window/" << relative << ":" << literal.line << ": \""
                           << literal.text << "\"";
    }
  }
  EXPECT_GT(files, 20) << "the window's sources were not found";
}

}  // namespace
