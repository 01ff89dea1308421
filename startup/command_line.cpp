#include "command_line.h"

#include <map>
#include <string>
#include <string_view>

#include "platform/embedded.h"

namespace startup {

namespace {

constexpr char kUsage[] =
    "Usage: puffpop [OPTION]\n"
    "Burst the balloons before they get away.\n"
    "\n"
    "  --windowed    play in a window, without asking\n"
    "  --fullscreen  play full-screen at 640x480, without asking\n"
    "  --help        show this help and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "Without an option the game first asks how to play.\n";

// The version texts carried inside the program, one "Name=value" a line.
std::map<std::string, std::string> VersionTexts() {
    const auto bytes = platform::ResourceBytes("RCDATA", "VERSIONTEXT");
    std::map<std::string, std::string> texts;
    std::string_view rest(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t equals = line.find('=');
        if (equals != std::string_view::npos)
            texts[std::string(line.substr(0, equals))] = line.substr(equals + 1);
    }
    return texts;
}

// A help or version text lost to a full disk or a closed pipe must not look answered.
Command Answered(std::ostream& out, std::ostream& err) {
    if (out.flush()) return {Mode::Ask, 0};
    err << "puffpop: cannot write to standard output\n";
    return {Mode::Ask, 1};
}

}  // namespace

Command ReadCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    if (argc <= 1) return {};
    const std::string option = argv[1];
    if (argc == 2 && option == "--windowed") return {Mode::Windowed};
    if (argc == 2 && option == "--fullscreen") return {Mode::FullScreen};
    if (argc == 2 && option == "--help") {
        out << kUsage;
        return Answered(out, err);
    }
    if (argc == 2 && option == "--version") {
        auto texts = VersionTexts();
        out << texts["ProductName"] << ' ' << texts["ProductVersion"] << '\n'
            << texts["FileDescription"] << '\n'
            << texts["LegalCopyright"] << '\n';
        return Answered(out, err);
    }
    // An option we do not know, or more than one.
    err << "puffpop: unrecognised command line:";
    for (int i = 1; i < argc; ++i) err << ' ' << argv[i];
    err << '\n' << kUsage;
    return {Mode::Ask, 2};
}

}  // namespace startup
