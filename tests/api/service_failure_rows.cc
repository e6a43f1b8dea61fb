#include "failure_rows.h"

namespace vanta::testing {

std::vector<FailureRow> service_failure_rows() {
    return {
        VANTA_FAILURE_ROW(UXWakeUp, OK, ""),
        VANTA_FAILURE_ROW(UXStandby, OK, ""),
        VANTA_FAILURE_ROW(GetWifiSignalLevel, UNIMPLEMENTED, ""),
    };
}

}  // namespace vanta::testing
