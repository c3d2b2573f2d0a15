// The game's run-time errors. Nothing in the game handles them: they travel out
// of Form_Load or Form_KeyDown to the front end, which reports them and ends.
#pragma once

#include <stdexcept>
#include <string>

namespace gravisk {

class RuntimeError : public std::runtime_error {
 public:
  // `what` is the error's own name ("Type mismatch"); a non-empty `detail` says
  // where it arose and follows in brackets.
  RuntimeError(int number, const std::string& what, const std::string& detail = {})
      : std::runtime_error(detail.empty() ? what : what + " (" + detail + ")"), number_(number) {}
  // The classic error number ("Run-time error '13'").
  int number() const { return number_; }
  // One line for the player: "Run-time error '13': Type mismatch".
  std::string report() const;

 private:
  int number_;
};

// A table index or element index outside its bounds, or a missing element.
class SubscriptOutOfRange : public RuntimeError {
 public:
  explicit SubscriptOutOfRange(const std::string& detail)
      : RuntimeError(9, "Subscript out of range", detail) {}
};

// A value that is not a number where a number is expected.
class TypeMismatch : public RuntimeError {
 public:
  explicit TypeMismatch(const std::string& detail) : RuntimeError(13, "Type mismatch", detail) {}
};

// A 16-bit integer leaving -32768 to 32767, or a floating-point fault.
class Overflow : public RuntimeError {
 public:
  explicit Overflow(const std::string& detail) : RuntimeError(6, "Overflow", detail) {}
};

// An element created twice ("Object already loaded").
class AlreadyLoaded : public RuntimeError {
 public:
  explicit AlreadyLoaded(const std::string& detail)
      : RuntimeError(360, "Object already loaded", detail) {}
};

}  // namespace gravisk
