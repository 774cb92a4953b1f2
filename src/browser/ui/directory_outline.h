#pragma once

#include <QIcon>
#include <QLocale>
#include <QString>
#include <QTreeWidget>

namespace kx {

// The directory tree of the record browser: one top item for the file system's root "/", its
// subdirectories under it, each level listed when it is first opened. Its directory follows
// the user's selection and is made the process's current directory.
//
// An item pointer serves as an item's index; a null pointer means no item. Each item keeps
// its directory's real name: TextCase only changes the text shown, since a lower-cased or
// upper-cased path names another directory here, so every path built from the tree names the
// directory itself.
class TCDirectoryOutline : public QTreeWidget {
    Q_OBJECT
  public:
    enum TTextCase { tcLowerCase = 0, tcUpperCase = 1, tcAsIs = 2 };

    explicit TCDirectoryOutline(QWidget* parent = nullptr, TTextCase textCase = tcLowerCase,
                                const QLocale& locale = QLocale());

    // The root whose tree is shown: "/" once set (the only one there is), empty before.
    QString Drive() const { return drive_; }
    void SetDrive(const QString& drive);
    // The current directory, a full path without a trailing '/' (except the root itself).
    QString Directory() const { return directory_; }
    // Sets Directory and makes it the process's current directory (also when it is Directory
    // already): the user chose it.
    void SetDirectory(const QString& value);
    // Sets Directory as SetDirectory does but leaves the process's current directory alone:
    // the program chose it (the browser's remembered folder).
    void ShowDirectory(const QString& value);
    TTextCase TextCase() const { return textCase_; }
    void SetTextCase(TTextCase value);

    // The text shown for a name.
    QString ForceCase(const QString& text) const;
    // The process's current directory; empty when it cannot be read.
    static QString CurDir();

    QTreeWidgetItem* RootIndex() const { return topLevelItem(0); }
    // The directory an item stands for: the root's path, then "/" and each real name below.
    QString FullPath(const QTreeWidgetItem* item) const;
    // Whether an item's subdirectories have been listed.
    static bool IsListed(const QTreeWidgetItem* item);

    void BuildTree();
    void BuildOneLevel(QTreeWidgetItem* item);
    // Lists the item's level and every level below it; none of them may have been listed.
    void BuildSubTree(QTreeWidgetItem* item);
    // Opens the tree along the path and selects the last item found on it.
    void WalkTree(const QString& path);
    // The item's child with that name, listing and opening the item's level first; the child
    // of exactly that name, else the first whose name is equal without regard to case.
    QTreeWidgetItem* GetChildNamed(const QString& name, QTreeWidgetItem* item);
    // Lists the item's level when that has not been done, then opens it.
    void Expand(QTreeWidgetItem* item);
    // Lists every level listed so far again: directories made since then appear, removed ones
    // go, the other items stay as they were. The selection stays on its directory while that
    // exists, else moves to the nearest one above it that does.
    void Refresh();

  Q_SIGNALS:
    // After the directory has changed and after every rebuild of the tree.
    void OnChange();
    // A double click on an item, or Enter on the selected one, once Directory is that item's
    // directory.
    void OnDblClick();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void moveTo(const QString& value, bool enter);
    // The user lists the item's directory.
    void listItem(QTreeWidgetItem* item);
    void refreshLevel(QTreeWidgetItem* item);
    void Change();
    // A selection by the user: the selected item's directory becomes Directory.
    void Click();
    // A new child item at `index` (-1 last), or a new top item without a parent.
    QTreeWidgetItem* addItem(QTreeWidgetItem* parent, const QString& name, int index = -1);
    void selectQuietly(QTreeWidgetItem* item);

    QString drive_;
    QString directory_;
    TTextCase textCase_;
    QLocale locale_;
    QIcon pictureClosed_;
    QIcon pictureOpen_;
    bool quiet_ = false; // the control itself is changing the selection
};

} // namespace kx
