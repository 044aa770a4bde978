#include "platform/core/Exceptions.h"

namespace platform {

RuntimeException::RuntimeException(std::string message) : message_(std::move(message)) {}

NilObjectException::NilObjectException() : RuntimeException("NilObjectException") {}

}  // namespace platform
