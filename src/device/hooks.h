#pragma once
#include <functional>
#include <vector>

namespace qx {

// An ordered list of callbacks: windows join it and are called in the order
// they joined. Used for "definition loaded" notifications.
class Hooks {
public:
    using Fn = std::function<void()>;
    int add(Fn fn) { fns_.push_back(std::move(fn)); return int(fns_.size()) - 1; }
    void call() const { for (const auto &f : fns_) if (f) f(); }
    bool empty() const { return fns_.empty(); }
private:
    std::vector<Fn> fns_;
};

} // namespace qx
