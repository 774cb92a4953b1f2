#pragma once

#include "record_files.h"

#include "app/ui/main_window.h"
#include "browser/ui/directory_outline.h"
#include "browser/ui/explore_window.h"

#include <QDir>

#include <gtest/gtest.h>

// The browser beside a main window, with the record files in a directory of their own; the
// browser opens records in the main window.
class BrowserFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        previous = QDir::currentPath();
        dir = QDir(files.path(QString())).canonicalPath();
        main.setMessages(&messages);
        explore.setMessages(&messages);
        explore.setRecordOpener([this](const QString& path) { main.openRecord(path); });
    }
    void TearDown() override { QDir::setCurrent(previous); }

    template <typename T> T* child(kx::TFExplore& window, const char* name) {
        T* widget = window.findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }
    template <typename T> T* child(const char* name) { return child<T>(explore, name); }
    // The user double-clicks the directory in the tree.
    void listDirectory(kx::TFExplore& window, const QString& path) {
        child<kx::TCDirectoryOutline>(window, "cdo")->SetDirectory(path);
        window.cdoDblClick();
    }
    void listDirectory(const QString& path) { listDirectory(explore, path); }

    RecordFiles files;
    QString dir;
    QString previous;
    kx::RecordedMessages messages;
    kx::TFMain main;
    kx::TFExplore explore{&main};
};
