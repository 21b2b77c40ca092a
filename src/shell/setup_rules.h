#pragma once
// Which setup-form controls an interface type enables.
#include <cstdint>

namespace qx {

struct SetupEnabling {
    bool serial = false;    // TXCOM, TXBaud, TXParity
    bool parallel = false;  // CLPT
    bool operator==(const SetupEnabling &) const = default;
};

SetupEnabling EnablingFor(int interfaceType);

} // namespace qx
