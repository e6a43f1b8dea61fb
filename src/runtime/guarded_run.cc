#include "runtime/guarded_run.h"

#include <iostream>
#include <stdexcept>
#include <system_error>

namespace vanta {

void run_guarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const std::system_error& e) {
        std::cout << "Caught system_error with code " << e.code().category().name() << ":"
                  << e.code().value() << " meaning " << e.what() << std::endl;
        throw;
    } catch (const std::runtime_error& e) {
        // Flushed as well: the process is about to abort, and a line left in
        // the buffer of a piped standard output would be lost.
        std::cout << "Caught runtime_error with message '" << e.what() << "'\n" << std::flush;
        throw;
    } catch (const std::exception& e) {
        std::cout << "Caught exception meaning " << e.what() << std::endl;
        throw;
    }
}

}  // namespace vanta
