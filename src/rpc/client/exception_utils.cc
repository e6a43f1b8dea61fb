#include "rpc/client/exception_utils.h"

#include <iostream>

namespace vanta::exception_utils {

void print_exceptions(const std::exception& e, unsigned level) {
    std::cout << "Exception(" << level << "): " << e.what() << std::endl;
    try {
        std::rethrow_if_nested(e);
    } catch (const std::exception& nested) {
        print_exceptions(nested, level + 1);
    } catch (...) {
    }
}

}  // namespace vanta::exception_utils
