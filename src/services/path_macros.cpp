#include "services/path_macros.h"

#include "services/text.h"

namespace vantrel {

namespace {

// The first two characters of the system folder: its drive, such as "C:".
std::u16string SystemDrive(const SystemQueries& system) {
    return system.SystemDirectory().substr(0, 2);
}

} // namespace

std::u16string ExpandPathMacros(const std::u16string& text, const SystemQueries& system) {
    // Unknown %names% survive the environment expansion, which is how the macros reach the checks below.
    // The expansion is not cut at the old 260-character buffer: a longer path stays whole rather than
    // silently naming a different file.
    const std::u16string expanded = system.ExpandEnvironment(text);

    if (StartsWithNoCase(expanded, u"%InternetExplorer%"))
        return SystemDrive(system) + u"\\Program Files\\Internet Explorer\\iexplore.exe";
    if (StartsWithNoCase(expanded, u"%MicrosoftEdge%")) {
        const std::u16string drive = SystemDrive(system);
        for (const char16_t* candidate : {u"\\Program Files\\Microsoft\\Edge\\Application\\msedge.exe",
                                          u"\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe"}) {
            std::u16string path = drive + candidate;
            if (system.FileExists(path))
                return path;
        }
        return {};
    }

    struct Macro {
        std::u16string_view name;
        std::u16string head;
    };
    const bool nt = system.IsNtPlatform();
    const Macro macros[] = {
        {u"%VantrelDosCommand%",
         nt ? system.SystemDirectory() + u"\\cmd.exe" : system.WindowsDirectory() + u"\\command.com"},
        {u"%VantrelDosIcon%",
         nt ? system.SystemDirectory() + u"\\cmd.exe" : system.SystemDirectory() + u"\\WINOA386.MOD"},
        {u"%sysdir%", system.SystemDirectory()},
    };
    for (const auto& macro : macros)
        if (StartsWithNoCase(expanded, macro.name))
            return macro.head + expanded.substr(macro.name.size());
    return expanded;
}

} // namespace vantrel
