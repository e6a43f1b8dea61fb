#include "failure_rows.h"

namespace vanta::testing {

// With no backend: the platform answers from the device itself, uploads are
// only started, the tone player reports false, and the status and location
// calls fail.
std::vector<FailureRow> platform_failure_rows() {
    return {
        VANTA_FAILURE_ROW(GetSystemInfo, OK, ""),
        VANTA_FAILURE_ROW(PlayTone, OK, ""),
        VANTA_FAILURE_ROW(StopTone, OK, ""),
        VANTA_FAILURE_ROW(GetInterfaceInfo, UNAVAILABLE, "get mac address FAILED"),
        VANTA_FAILURE_ROW(TestUrlConnect, OK, ""),
        VANTA_FAILURE_ROW(UploadPRB, OK, ""),
        VANTA_FAILURE_ROW(GetPRB, OK, ""),
        VANTA_FAILURE_ROW(GetPRBStatus, UNKNOWN, "Unexpected error in RPC handling"),
        VANTA_FAILURE_ROW(GetPRBFileLocation, UNAVAILABLE, "GetPRBFileLocation: [*"),
    };
}

}  // namespace vanta::testing
