// The dragging side of the X drag-and-drop protocol, as a file manager plays it: it owns the
// drag's selection, offers data, sends the drag's messages to one window and records the answers.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velt::corvane::testing {

class XdndSource {
public:
    /// What the drop target answered to one drag.
    struct Outcome {
        int statuses = 0;            ///< XdndStatus messages received
        bool firstAccepted = false;  ///< the answer to the first position
        bool lastAccepted = false;   ///< the answer to the last position
        bool lastCopy = false;       ///< ... with the copy action
        int requests = 0;            ///< times the target asked for the data
        bool finished = false;       ///< XdndFinished came
        bool finishedAccepted = false;
        bool finishedCopy = false;
        double dropToFinishSeconds = -1.0;
        double longestTargetTurnSeconds = 0.0;  ///< the longest single call of the target's pump
    };

    /// Connects to display; ok() tells whether it could.
    explicit XdndSource(const std::string& display);
    ~XdndSource();
    XdndSource(const XdndSource&) = delete;
    XdndSource& operator=(const XdndSource&) = delete;
    bool ok() const { return display_ != nullptr; }
    /// The connection's descriptor, for the target's run loop to wake on.
    int fd() const;

    /// Drags data of the given types over target (XdndTypeList when more than three types),
    /// through the window its XdndProxy names if it has one; only answers that name target count:
    /// enter, a position, a pause, another position, then the drop, whatever the answers were.
    /// pumpTarget lets the target's side run for a moment. With answer false the data is
    /// never handed over.
    Outcome drag(unsigned long target, const std::vector<std::string>& types, const std::string& data,
                 const std::function<void()>& pumpTarget, bool answer = true);

private:
    void serve(Outcome& outcome);
    bool waitFor(const std::function<bool()>& done, double seconds, const std::function<void()>& pumpTarget,
                 Outcome& outcome);
    void sendMessage(const char* type, long l1, long l2, long l3, long l4);

    void* display_ = nullptr;  ///< Display*, kept out of the header for the SDK's sake
    unsigned long window_ = 0;
    unsigned long target_ = 0;
    unsigned long destination_ = 0;  ///< target, or its proxy
    std::vector<unsigned long> types_;
    std::string data_;
    bool answer_ = true;
};

}  // namespace velt::corvane::testing
