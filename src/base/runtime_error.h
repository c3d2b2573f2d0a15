// The game's run-time errors. Nothing in the game handles them: they travel out
// of Form_Load or Form_KeyDown to the front end, which reports them and ends.
#pragma once

#include <stdexcept>
#include <string>

namespace gravisk {

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& message)
      : std::runtime_error(message), number_(number) {}
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
      : RuntimeError(9, "Subscript out of range" + (detail.empty() ? "" : " (" + detail + ")")) {}
};

// A value that is not a number where a number is expected.
class TypeMismatch : public RuntimeError {
 public:
  explicit TypeMismatch(const std::string& detail)
      : RuntimeError(13, "Type mismatch" + (detail.empty() ? "" : " (" + detail + ")")) {}
};

// A 16-bit integer leaving -32768 to 32767, or a floating-point fault.
class Overflow : public RuntimeError {
 public:
  explicit Overflow(const std::string& detail)
      : RuntimeError(6, "Overflow" + (detail.empty() ? "" : " (" + detail + ")")) {}
};

// An element created twice ("Object already loaded").
class AlreadyLoaded : public RuntimeError {
 public:
  explicit AlreadyLoaded(const std::string& detail)
      : RuntimeError(360, "Object already loaded" + (detail.empty() ? "" : " (" + detail + ")")) {}
};

}  // namespace gravisk
