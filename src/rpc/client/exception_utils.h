#pragma once

#include <exception>

namespace vanta::exception_utils {

// Writes "Exception(<level>): <what()>" and a newline to standard output, then
// does the same for the exception nested in `e` (std::throw_with_nested), if
// any, one level deeper. Nested objects that are not std::exception are skipped.
void print_exceptions(const std::exception& e, unsigned level = 0);

}  // namespace vanta::exception_utils
