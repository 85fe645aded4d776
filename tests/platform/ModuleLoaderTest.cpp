#include "platform/ModuleLoader.h"

#include "platform/DebugOutput.h"
#include "tests/platform/TempFolder.h"

#include <filesystem>

namespace Lumo::Platform {
namespace {

using Testing::ScopedEnv;
using Testing::TempFolder;

using NameFunction = const char* (*)();
using AddFunction = int (*)(int, int);

TEST(ModuleLoaderTest, NamesMapToSharedModules)
{
    EXPECT_EQ(ModuleFileName("bass.dll"), "libbass.so");
    EXPECT_EQ(ModuleFileName(".\\BASS.DLL"), "libbass.so");
    EXPECT_EQ(ModuleFileName("j2k-codec.dll"), "libj2k-codec.so");
    EXPECT_EQ(ModuleFileName("C:\\Windows\\System32\\dsound.dll"), "libdsound.so");
    EXPECT_EQ(ModuleFileName("fmod"), "libfmod.so");
    EXPECT_EQ(ModuleFileName("libz.so"), "libz.so");
}

TEST(ModuleLoaderTest, LoadsAModuleBesideTheProgramAndFindsDecoratedEntries)
{
    ScopedEnv noDir("LUMO_MODULE_DIR", nullptr);
    ModuleHandle module = LoadModule(".\\Platform_Test_Module.DLL");
    ASSERT_NE(module, nullptr);

    auto name = reinterpret_cast<NameFunction>(GetModuleEntry(module, "TestModule_Name"));
    auto add = reinterpret_cast<AddFunction>(GetModuleEntry(module, "_TestModule_Add@8"));
    ASSERT_NE(name, nullptr);
    ASSERT_NE(add, nullptr);
    EXPECT_STREQ(name(), "a");
    EXPECT_EQ(add(2, 3), 5);
    EXPECT_EQ(GetModuleEntry(module, "TestModule_Add@8"), reinterpret_cast<void*>(add));
    EXPECT_EQ(GetModuleEntry(module, "_TestModule_Name"), reinterpret_cast<void*>(name));

    EXPECT_EQ(GetModuleEntry(module, "Missing"), nullptr);
    EXPECT_EQ(GetModuleEntry(module, "_Missing@4"), nullptr);
    EXPECT_EQ(GetModuleEntry(module, "_TestModule_Add@x"), nullptr);
    EXPECT_EQ(GetModuleEntry(nullptr, "TestModule_Add"), nullptr);
    FreeModule(module);
    FreeModule(nullptr);
}

TEST(ModuleLoaderTest, ModuleFolderVariableIsSearchedFirst)
{
    TempFolder tmp;
    std::filesystem::copy_file(GetExecutableFolder() + "libplatform_test_module_b.so",
                               tmp / "libplatform_test_module.so");
    ScopedEnv dir("LUMO_MODULE_DIR", tmp.Path().c_str());
    ModuleHandle module = LoadModule("platform_test_module.dll");
    ASSERT_NE(module, nullptr);
    auto name = reinterpret_cast<NameFunction>(GetModuleEntry(module, "TestModule_Name"));
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name(), "b");
    FreeModule(module);
}

TEST(ModuleLoaderTest, MissingModuleGivesNullAndOneLogLine)
{
    ClearDebugOutput();
    EXPECT_EQ(LoadModule("no-such-module.dll"), nullptr);
    auto lines = GetDebugOutputLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("no-such-module.dll"), std::string::npos);
}

} // namespace
} // namespace Lumo::Platform
