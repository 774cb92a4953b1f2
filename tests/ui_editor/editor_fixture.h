#pragma once

#include "wait_for.h"

#include "editor/ui/editor_grid.h"
#include "editor/ui/editor_window.h"
#include "records/user_messages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

// The editor window shown offscreen, its messages recorded, its current directory a
// temporary one that is given back afterwards.
struct EditorWindowTest : ::testing::Test {
    kx::TFCreate window;
    kx::RecordedMessages messages;
    QTemporaryDir folder;
    QString savedCurrent;

    void SetUp() override {
        savedCurrent = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(folder.path()));
        window.setMessages(&messages);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override { QDir::setCurrent(savedCurrent); }

    template <typename T> T* child(const char* name) {
        T* widget = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    kx::EditorGrid* grid() { return child<kx::EditorGrid>("dgMap"); }

    // Sends a mouse event to the map grid at the middle of grid cell (col, row).
    void mouse(QEvent::Type type, int col, int row, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
        kx::EditorGrid* target = grid();
        const QPointF at = target->cellRect(col, row).center();
        QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    void click(int col, int row) {
        mouse(QEvent::MouseButtonPress, col, row, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, col, row, Qt::LeftButton, Qt::NoButton);
    }

    // What the grid shows now.
    QImage shown() { return grid()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QStringList files() const {
        return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};
