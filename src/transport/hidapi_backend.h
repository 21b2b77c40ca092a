#pragma once
// HID bridges through hidapi (hidraw). HID index i is the i-th entry of
// hidapi's enumeration of all HID devices. The enumeration is taken afresh
// when a search starts (an index no higher than the one asked before) and
// kept for the higher indices of the same search, so one search costs one
// enumeration. Attributes come from the enumeration entry;
// the bridge's reports are a report id of 0 and 64 data bytes, so both
// report lengths are 65.
#include "transport/bridge_device.h"

#include <climits>
#include <string>
#include <vector>

namespace qx {

class HidapiBackend final : public HidBridgeBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    std::shared_ptr<HidBridgeDevice> openHid(int index, bool &found) override;

private:
    struct Entry {
        std::string path;
        HidAttributes attrs;
    };
    void enumerate();

    std::shared_ptr<void> library_;
    std::vector<Entry> entries_;
    int lastIndex_ = INT_MAX;
};

} // namespace qx
