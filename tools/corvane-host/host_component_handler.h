// The controller's component handler: edits the view makes (performEdit) are kept for the
// processor's next block, as a host forwards them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "tools/vst3host/host_parameter_changes.h"

namespace velt::corvane::tools {

class HostComponentHandler : public Steinberg::Vst::IComponentHandler {
public:
    HostComponentHandler() = default;
    virtual ~HostComponentHandler() = default;
    HostComponentHandler(const HostComponentHandler&) = delete;
    HostComponentHandler& operator=(const HostComponentHandler&) = delete;

    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue valueNormalized) override;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

    bool hasPendingEdits() const { return !pending_.empty(); }
    /// Moves the pending edits into params at offset 0 (the latest value of each id) and forgets
    /// them; false when params ran out of room (the rest stays pending).
    bool takePendingEdits(HostParameterChanges& params);

    /// Hands the pending edits to take (id, value) in order until it returns false; those
    /// stay pending. False when some stayed.
    template <typename Take>
    bool takePendingEdits(Take&& take) {
        size_t taken = 0;
        while (taken < pending_.size() && take(pending_[taken].id, pending_[taken].value)) ++taken;
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(taken));
        return pending_.empty();
    }

    int64_t editCount() const { return edits_; }

private:
    struct Edit {
        Steinberg::Vst::ParamID id = 0;
        double value = 0.0;
    };
    std::vector<Edit> pending_;
    int64_t edits_ = 0;
};

}  // namespace velt::corvane::tools
