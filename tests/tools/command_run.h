// corvane-render run in-process, as a shell would run it: its status and both outputs.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tools/toolkit/render_command.h"

namespace velt::corvane::tooltest {

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

/// argv is "corvane-render", then lead (e.g. "--engine"), then args.
inline CommandRun runRender(const std::vector<std::string>& args, const std::vector<std::string>& lead = {}) {
    std::vector<const char*> argv{"corvane-render"};
    for (const std::string& a : lead) argv.push_back(a.c_str());
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    CommandRun r;
    r.status = tools::runRenderCommand(static_cast<int>(argv.size()), argv.data(), out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

}  // namespace velt::corvane::tooltest
