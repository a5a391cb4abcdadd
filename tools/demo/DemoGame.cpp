#include "tools/demo/DemoGame.h"

#include "tools/demo/DemoModels.h"
#include "tools/demo/DemoScenes.h"
#include "tools/demo/DemoTextures.h"
#include "tools/demo/RegistryWriter.h"

#include <fstream>
#include <stdexcept>
#include <system_error>

namespace demo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMarkFile = ".verdax-demo";
constexpr std::uint32_t kRegistryTime = 1262304000;  // 2010-01-01

std::string InstallPath(const std::string& relative)
{
    return std::string(kDemoInstallPath) + "/" + relative;
}

void AddMission(FileMap& files, const std::string& name, const std::string& scene2, const std::string* world)
{
    files[InstallPath("Missions/" + name + "/scene2.bin")] = scene2;
    if (world)
        files[InstallPath("Missions/" + name + "/scene.4ds")] = *world;
}

bool IsEmptyOrGenerated(const fs::path& prefix)
{
    std::error_code error;
    if (!fs::exists(prefix, error))
        return true;
    if (fs::exists(prefix / kMarkFile, error))
        return true;
    return fs::is_directory(prefix, error) && fs::is_empty(prefix, error);
}

void WriteFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void LinkDriveC(const fs::path& prefix)
{
    const fs::path link = prefix / "dosdevices" / "c:";
    fs::create_directories(link.parent_path());
    std::error_code error;
    fs::remove(link, error);
    fs::create_directory_symlink("../drive_c", link);
}

}  // namespace

std::string DemoSystemReg(const std::string& installFolder)
{
    RegistryFile file;
    RegistryKey classes{"Software\\Classes\\.bmp", kRegistryTime, {StringValue("", "Paint.Picture")}};
    RegistryKey game{"Software\\Kestrel Works\\Dravo", kRegistryTime, {}};
    game.values.push_back(StringValue("idir", installFolder));
    game.values.push_back(StringValue("Version", "1.02"));
    RegistryValue language;
    language.name = "Language";
    language.type = RegistryValue::Type::Dword;
    language.dword = 0x419;
    game.values.push_back(language);
    RegistryValue serial;
    serial.name = "Setup";
    serial.type = RegistryValue::Type::Binary;
    serial.binary = {0x01, 0x00, 0x2A, 0xFF};
    game.values.push_back(serial);
    RegistryKey windows{"Software\\Microsoft\\Windows\\CurrentVersion", kRegistryTime, {}};
    windows.values.push_back(StringValue("ProgramFilesDir", "C:\\Program Files"));
    windows.values.push_back(StringValue("CommonFilesDir", "C:\\Program Files\\Common Files"));
    RegistryKey environment{"System\\CurrentControlSet\\Control\\Session Manager\\Environment", kRegistryTime, {}};
    RegistryValue path = StringValue("PATH", "%SystemRoot%\\system32;%SystemRoot%");
    path.type = RegistryValue::Type::ExpandString;
    environment.values.push_back(path);
    RegistryKey codePages{"System\\CurrentControlSet\\Control\\Nls\\CodePage", kRegistryTime, {}};
    codePages.values.push_back(StringValue("ACP", "1251"));
    codePages.values.push_back(StringValue("MACCP", "10007"));
    codePages.values.push_back(StringValue("OEMCP", "866"));
    file.keys = {classes, game, windows, environment, codePages};
    return WriteSystemReg(file);
}

FileMap DemoGameFiles()
{
    FileMap files;
    files["system.reg"] = DemoSystemReg(kDemoInstallFolder);
    for (const NamedBitmap& map : DemoMaps())
        files[InstallPath("Maps/" + map.fileName)] = WriteBitmap(map.bitmap);
    for (const NamedModel& model : DemoThingModels())
        files[InstallPath("Models/" + model.fileName)] = Write4ds(model.model);
    const std::string town = Write4ds(HarbourTownWorld());
    const std::string field = Write4ds(FieldWorld());
    AddMission(files, kHarbourMission, WriteScene2(HarbourTownScene()), &town);
    AddMission(files, kOutpostMission, WriteScene2(OutpostScene()), nullptr);
    AddMission(files, kBrokenMission, BrokenSceneFile(), &field);
    AddMission(files, kVillageMission, WriteScene2(VillageScene()), &field);
    // A plain file among the mission folders is not a mission.
    files[InstallPath("Missions/readme.txt")] = "One folder per mission.\r\n";
    return files;
}

void WritePrefix(const fs::path& prefix, const FileMap& files)
{
    if (!IsEmptyOrGenerated(prefix))
        throw std::runtime_error(prefix.string() + " is not empty and holds no generated game; not writing there");
    fs::create_directories(prefix);
    WriteFile(prefix / kMarkFile, "Written by verdax-tool make-demo.\n");
    for (const auto& [relative, bytes] : files)
        WriteFile(prefix / relative, bytes);
    LinkDriveC(prefix);
}

}  // namespace demo
