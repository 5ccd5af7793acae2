// Standard error caught in a file while a test runs, for the messages a
// program writes there (the library's warnings included, which bypass
// std::cerr).
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

namespace tesva {

class CapturedStderr {
 public:
  CapturedStderr() : file_(std::tmpfile()) {
    std::fflush(stderr);
    saved_ = ::dup(STDERR_FILENO);
    ::dup2(::fileno(file_), STDERR_FILENO);
  }
  ~CapturedStderr() {
    Restore();
    std::fclose(file_);
  }
  CapturedStderr(const CapturedStderr&) = delete;
  CapturedStderr& operator=(const CapturedStderr&) = delete;

  // What was written so far; standard error goes back where it was.
  std::string Text() {
    Restore();
    std::string text;
    std::rewind(file_);
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    saved_ = -1;
  }
  std::FILE* file_;
  int saved_ = -1;
};

}  // namespace tesva
