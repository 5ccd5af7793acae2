// The window draws texts, it does not write them: every string literal in
// src/window (its tests aside, which read the texts) must be ASCII and look
// like code (an object name, a format, a symbol), or be listed in
// window_literals.txt with the reason it is not a text for the player. A
// caption written into the window, even one without a Turkish letter
// ("Tamam", "Toplam"), fails here; it belongs in the core.
#include <gtest/gtest.h>

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

// A byte beyond ASCII, written as it is or as an escape.
bool BeyondAscii(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (byte > 0x7f) return true;
    if (byte != '\\' || i + 1 >= text.size()) continue;
    char kind = text[++i];
    if (kind == 'u' || kind == 'U' || kind == 'N') return true;
    if (kind == 'x' && std::stoul("0" + text.substr(i + 1, 2), nullptr, 16) > 0x7f) return true;
    if (kind >= '2' && kind <= '3') return true;  // octal \200 and above
  }
  return false;
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
std::string WithoutEscapes(const std::string& text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      plain += text[i];
      continue;
    }
    plain += ' ';
    if (++i < text.size() && text[i] == 'x') {
      while (i + 1 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1]))) ++i;
    }
  }
  return plain;
}

bool HasLetter(const std::string& text) {
  for (char c : text) {
    if (std::isalpha(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

// Why a literal is not allowed in the window; "" when it is.
std::string Fault(const std::string& text, const std::set<std::string>& listed) {
  if (BeyondAscii(text)) return "not ASCII: a text for the player, made in the core";
  std::string plain = WithoutEscapes(text);
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

TEST(WindowLiteralsTest, TheScannerFindsEveryKindOfLiteralAndSkipsComments) {
  std::string source =
      "#include \"window/x.h\"\n// \"İptal\" in a comment\n"
      "/* \"Tamam\" */ auto a = QStringLiteral(\"Oyun Aç\");\n"
      "auto b = u8\"\\u0130pucu\"; auto c = R\"x(Toplam \"x\")x\"; char d = 'a';\n"
      "int e = 1'000; auto f = \"say \\\"Reddet\\\"\";\n";
  std::vector<std::string> texts;
  for (const Literal& literal : LiteralsOf(source)) texts.push_back(literal.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Oyun Aç", "\\u0130pucu", "Toplam \"x\"", "a",
                                             "say \\\"Reddet\\\""}));
  EXPECT_EQ(LiteralsOf(source)[2].line, 4);
}

TEST(WindowLiteralsTest, CaptionsFailAndCodeAndListedNamesPass) {
  std::set<std::string> listed{"cancel"};
  for (std::string caption : {"İptal", "\\u0130ptal", "\\xc4\\xb0ptal", "\\304\\260ptal", "Tamam",
                              "Toplam", "Yeni Oyun", "kazandı", "yan yana ", "Port:"}) {
    EXPECT_NE(Fault(caption, listed), "") << caption;
  }
  for (std::string code :
       {"mnuYeni", "Player1_Kart", "HostDialog", "%1(%2)", ", ", "+%1", "cancel", "\\n"}) {
    EXPECT_EQ(Fault(code, listed), "") << code;
  }
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
