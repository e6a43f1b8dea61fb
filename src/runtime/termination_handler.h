#pragma once

namespace vanta::terminationhandler {

// Clears the termination flag and handles SIGTERM only: the handler records
// the signal and nothing else. Every other signal keeps its default action.
void register_termination_handler();
// Whether SIGTERM has been received.
bool time_to_quit();

}  // namespace vanta::terminationhandler
