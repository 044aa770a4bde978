#pragma once

#include <exception>
#include <memory>
#include <string>

namespace platform {

// The framework's base exception. Its message can be rewritten before the
// same object is thrown again, so it is caught by reference and rethrown with `throw;`.
class RuntimeException : public std::exception {
 public:
  explicit RuntimeException(std::string message = {});
  const std::string& Message() const { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// Raised wherever a nil reference is used where an object is needed.
class NilObjectException : public RuntimeException {
 public:
  NilObjectException();
};

// The one check for nil: returns the object, or throws NilObjectException.
template <class T>
T& NotNil(const std::shared_ptr<T>& reference) {
  if (!reference)
    throw NilObjectException();
  return *reference;
}

// The framework's type test: the object converted to T, or NilObjectException
// when it is nil or not a T.
template <class T, class U>
std::shared_ptr<T> TypeTest(const std::shared_ptr<U>& object) {
  auto converted = std::dynamic_pointer_cast<T>(object);
  if (!converted)
    throw NilObjectException();
  return converted;
}

}  // namespace platform
