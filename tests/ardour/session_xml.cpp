#include "tests/ardour/session_xml.h"

namespace velt::corvane::testing {

namespace {

// Ardour 7 counts audio time in superclock ticks, 282,240,000 a second.
constexpr int64_t kSuperclockPerSecond = 282240000;

bool replaceFirst(std::string& text, const std::string& what, const std::string& with) {
    const size_t at = text.find(what);
    if (at == std::string::npos) return false;
    text.replace(at, what.size(), with);
    return true;
}

std::string region(const std::string& id, const std::string& name, bool wholeFile, int64_t ticks) {
    // Counts (length, ancestral-length) carry the position they start from after '@'.
    return "<Region name=\"" + name +
           "\" muted=\"0\" opaque=\"1\" locked=\"0\" video-locked=\"0\" automatic=\"0\" " + "whole-file=\"" +
           (wholeFile ? "1" : "0") +
           "\" import=\"0\" external=\"0\" sync-marked=\"0\" left-of-split=\"0\" right-of-split=\"0\" "
           "hidden=\"0\" "
           "position-locked=\"0\" valid-transients=\"0\" start=\"b0\" length=\"b" +
           std::to_string(ticks) +
           "@b0\" sync-position=\"b0\" ancestral-start=\"b0\" ancestral-length=\"b0@b0\" stretch=\"1\" "
           "shift=\"1\" "
           "layering-index=\"0\" tags=\"\" id=\"" +
           id + "\" type=\"midi\" first-edit=\"nothing\" source-0=\"900001\" master-source-0=\"900001\"/>";
}

}  // namespace

std::string chunkText(const std::string& xml) {
    const size_t open = xml.find("<chunk>");
    const size_t close = open == std::string::npos ? open : xml.find("</chunk>", open);
    if (close == std::string::npos) return std::string();
    return xml.substr(open + 7, close - open - 7);
}

bool replaceChunk(std::string& xml, const std::string& base64) {
    const size_t open = xml.find("<chunk>");
    const size_t close = open == std::string::npos ? open : xml.find("</chunk>", open);
    if (close == std::string::npos) return false;
    xml.replace(open + 7, close - open - 7, base64);
    return true;
}

bool addMidiRegion(std::string& xml, const std::string& fileName, const std::string& playlist,
                   int64_t ardourTicks) {
    std::string name = fileName.substr(0, fileName.rfind('.'));
    const std::string source =
        "<Sources>\n    <Source name=\"" + fileName +
        "\" type=\"midi\" flags=\"\" id=\"900001\" origin=\"\">\n"
        "      <InterpolationStyle parameter=\"midicc-0-7\" style=\"Discrete\"/>\n"
        "      <InterpolationStyle parameter=\"midi-pitch-bender-0\" style=\"Discrete\"/>\n"
        "    </Source>\n  </Sources>";
    if (!replaceFirst(xml, "<Sources/>", source)) return false;
    if (!replaceFirst(xml, "<Regions/>",
                      "<Regions>\n    " + region("900002", name, true, ardourTicks) + "\n  </Regions>"))
        return false;
    const std::string open = "<Playlist id=\"";
    size_t at = 0;
    while ((at = xml.find(open, at)) != std::string::npos) {
        const size_t end = xml.find('>', at);
        if (end == std::string::npos) return false;
        if (xml.find("name=\"" + playlist + "\"", at) < end && xml[end - 1] == '/') {
            xml.replace(end - 1, 2,
                        ">\n      " + region("900003", name, false, ardourTicks) + "\n    </Playlist>");
            return true;
        }
        at = end;
    }
    return false;
}

bool setSessionRange(std::string& xml, int64_t endFrame, int sampleRate) {
    const int64_t end = endFrame * (kSuperclockPerSecond / sampleRate);
    return replaceFirst(
        xml, "<Locations/>",
        "<Locations>\n    <Location id=\"900004\" name=\"session\" start=\"a0\" end=\"a" +
            std::to_string(end) +
            "\" flags=\"IsSessionRange\" locked=\"0\" timestamp=\"1\" cue=\"0\"/>\n  </Locations>");
}

bool wireToMaster(std::string& xml, const std::string& track) {
    // The track's output IO, whatever Ardour had put in it by the time it saved.
    const std::string open = "<IO name=\"" + track + "\" ";
    size_t at = 0;
    size_t body = std::string::npos;
    while ((at = xml.find(open, at)) != std::string::npos) {
        const size_t end = xml.find('>', at);
        if (end == std::string::npos) return false;
        if (xml.find("direction=\"Output\"", at) < end) {
            if (xml[end - 1] == '/') return false;
            body = end + 1;
            break;
        }
        at = end;
    }
    if (body == std::string::npos) return false;
    const size_t close = xml.find("</IO>", body);
    if (close == std::string::npos) return false;
    std::string ports = "\n";
    for (const char* c : {"1", "2"})
        ports += "        <Port type=\"audio\" name=\"" + track + "/audio_out " + c +
                 "\">\n          <Connection other=\"Master/audio_in " + c + "\"/>\n        </Port>\n";
    xml.replace(body, close - body, ports + "      ");

    // The master's inputs, each joined to the track's output of the same number only.
    for (const char* c : {"1", "2"}) {
        const std::string port = "<Port type=\"audio\" name=\"Master/audio_in " + std::string(c) + "\"";
        const size_t p = xml.find(port);
        if (p == std::string::npos) return false;
        size_t end = xml.find('>', p);
        if (end == std::string::npos) return false;
        if (xml[end - 1] != '/') {
            end = xml.find("</Port>", p);
            if (end == std::string::npos) return false;
            end += 6;
        }
        xml.replace(
            p, end + 1 - p,
            port + ">\n          <Connection other=\"" + track + "/audio_out " + c + "\"/>\n        </Port>");
    }
    return true;
}

}  // namespace velt::corvane::testing
