// corvane-make-moduleinfo OUT.json: writes the bundle's moduleinfo.json from the same entries the
// module's factory registers.
#include <fstream>
#include <iostream>

#include "packaging/moduleinfo/moduleinfo_json.h"
#include "plugin/plugin_ids.h"

int main(int argc, char** argv) {
    using namespace Steinberg::Vst;
    if (argc != 2) {
        std::cerr << "usage: corvane-make-moduleinfo OUT.json\n";
        return 2;
    }
    Steinberg::PClassInfo2 classes[kCorvaneClassCount];
    for (Steinberg::int32 i = 0; i < kCorvaneClassCount; ++i) classes[i] = corvaneClassInfo(i);
    const std::string text = velt::corvane::packaging::moduleInfoJson(
        kCorvaneModuleName, kCorvaneVersion, corvaneFactoryInfo(), classes, kCorvaneClassCount);
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        std::cerr << "corvane-make-moduleinfo: " << argv[1] << ": cannot write\n";
        return 2;
    }
    return 0;
}
