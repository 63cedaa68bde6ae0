// Reads arbitrary bytes as a settings file through every profile call the program makes,
// and checks that a write is always read back as written.

#include "platform/Profile.h"
#include "fuzz/InputFile.h"
#include "project/QMCProject.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ml::fuzz::TInputFile file("settings.ini");
    const std::string path = file.Hold(data, size);
    if (path.empty())
        return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);

    (void)ml::ParseInteger(text);
    ml::TQMCFileList list;
    list.LoadFromFile(path);
    if (list.FileNames.size() != list.Included.size())
        __builtin_trap();
    ml::TQMCSetting setting;
    setting.LoadFromFile(path);
    ml::TUISetting ui;
    ui.LoadFromFile(path);

    ml::TIniFile ini(path);
    for (const auto& [name, value] : ini.ReadSectionValues("Files"))
        if (value.size() > ml::TIniFile::kMaxValueLength)
            __builtin_trap();
    if (ini.WriteInteger("Setting", "Speed", 12) && ini.ReadInteger("setting", "SPEED", 0) != 12)
        __builtin_trap();
    if (ini.WriteString("Files", "a b.qmp", "0") && ini.ReadString("FILES", "A B.QMP", "") != "0")
        __builtin_trap();
    if (ini.EraseSection("Setting") && ini.SectionExists("Setting"))
        __builtin_trap();
    return 0;
}
