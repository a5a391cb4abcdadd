#pragma once
// The demo game written into a temporary Wine prefix, with the registry, the file
// system and the game folders of the process pointed at it while a test runs.

#include "core/GameFolders.h"
#include "game/CDravoRoot.h"
#include "game/CMission.h"
#include "platform/FileSystem.h"
#include "platform/MessagePresenter.h"
#include "platform/Registry.h"
#include "tests/support/TempDir.h"
#include "tools/demo/DemoGame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

class DemoPrefixTest : public testing::Test {
protected:
    void SetUp() override
    {
        demo::WritePrefix(dir_.Path(), Files());
        // The code page comes from the prefix's system.reg, as the game's does.
        if (const char* prefix = std::getenv("WINEPREFIX"))
            savedPrefix_ = prefix;
        setenv("WINEPREFIX", dir_.Path().c_str(), 1);
        registry_ = std::make_unique<platform::CWineRegistry>(dir_.Path());
        fileSystem_ = std::make_unique<platform::CWineFileSystem>(dir_.Path());
        platform::SetRegistry(registry_.get());
        platform::SetFileSystem(fileSystem_.get());
        root_.SetInstallFolder(CDravoRoot::ReadInstallFolder());
        SetGameFolders(&root_);
        root_.ListMissions();
    }

    void TearDown() override
    {
        SetGameFolders(nullptr);
        platform::SetFileSystem(nullptr);
        platform::SetRegistry(nullptr);
        if (savedPrefix_)
            setenv("WINEPREFIX", savedPrefix_->c_str(), 1);
        else
            unsetenv("WINEPREFIX");
    }

    // The files to write; the demo game unless a test says otherwise.
    virtual demo::FileMap Files() const { return demo::DemoGameFiles(); }

    CMission& Mission(const std::string& name)
    {
        for (const auto& mission : root_.GetMissions()) {
            if (mission->GetName() == name)
                return *mission;
        }
        throw std::runtime_error("no mission " + name);
    }

    std::filesystem::path InstallPath() const { return dir_.Path() / demo::kDemoInstallPath; }

    testsupport::TempDir dir_;
    platform::RecordingPresenter messages_;
    platform::ScopedPresenter presenterScope_{messages_};
    std::unique_ptr<platform::CWineRegistry> registry_;
    std::unique_ptr<platform::CWineFileSystem> fileSystem_;
    CDravoRoot root_;

private:
    std::optional<std::string> savedPrefix_;
};
