// What identifies the module to hosts: the class ids and the factory's entries. The factory and
// the bundle's moduleinfo.json (written at build time) are both made from these, so they agree.
#pragma once

#include "corvane_version.h"
#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace Steinberg {
namespace Vst {

// Fixed for the life of the product: hosts store them in projects to find the classes again.

/** Class id of CorvaneVSTProcessor. */
static const FUID kCorvaneProcessorUID(0x5EA2803C, 0x747E41E7, 0x89E50BF6, 0xBDC5DAB4);
/** Class id of CorvaneVSTController. */
static const FUID kCorvaneControllerUID(0x1478CB95, 0x82D24D55, 0xBF384A23, 0xC76629DF);

/** The module's name: the bundle's, the module file's and the processor class's. */
inline constexpr char kCorvaneModuleName[] = "Corvane Synth PCM";
/** The classes' version, from the build's project version. */
inline constexpr char kCorvaneVersion[] = CORVANE_VERSION;
/** The SDK version the classes declare. */
inline constexpr char kCorvaneSdkVersion[] = "VST 3.7.3";
/** Number of entries in the class table. */
inline constexpr int32 kCorvaneClassCount = 2;

/** The factory's information: vendor, web address, e-mail and flags. */
inline PFactoryInfo corvaneFactoryInfo() {
    return PFactoryInfo("Veltworks", "https://veltworks.example", "", PFactoryInfo::kUnicode);
}

/** Entry index of the class table (0 the processor, 1 the controller) without its create function. */
inline PClassInfo2 corvaneClassInfo(int32 index) {
    TUID cid;
    if (index == 0) {
        kCorvaneProcessorUID.toTUID(cid);
        return PClassInfo2(cid, PClassInfo::kManyInstances, kVstAudioEffectClass, kCorvaneModuleName,
                           kDistributable, PlugType::kInstrumentSynth, "", kCorvaneVersion,
                           kCorvaneSdkVersion);
    }
    kCorvaneControllerUID.toTUID(cid);
    return PClassInfo2(cid, PClassInfo::kManyInstances, kVstComponentControllerClass,
                       "Corvane Synth PCM Controller", 0, "", "", kCorvaneVersion, kCorvaneSdkVersion);
}

}  // namespace Vst
}  // namespace Steinberg
