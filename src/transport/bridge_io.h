#pragma once
// An open USB bridge (the handle Devc::Handle points to). Each transport
// derives its own handle type; the chip access layer only tests for one.
namespace qx {

class BridgeIo {
public:
    virtual ~BridgeIo() = default;
};

} // namespace qx
