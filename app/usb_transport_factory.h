#pragma once
// Where qxctl (and later qxbench) gets its USB bridge transport. Until the
// bulk, HID and simulator-endpoint backends exist this yields none, and
// every USB interface reports "USB not Connect !!!".
#include <memory>

namespace qx {

struct ProgramPaths;
class UsbTransport;

std::unique_ptr<UsbTransport> CreateUsbTransport(const ProgramPaths &paths);

} // namespace qx
