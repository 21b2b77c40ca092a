#include "device/register_lists.h"
// Header-only template; this unit keeps the three instantiations compiled once.
namespace qx {
template class RegisterList<RegBitEntry>;
template class RegisterList<RegByteEntry>;
template class RegisterList<RegWordEntry>;
}
