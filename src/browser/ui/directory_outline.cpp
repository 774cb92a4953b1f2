#include "directory_outline.h"

#include "browser/directory_names.h"

#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSet>
#include <QStyle>

namespace kx {

namespace {

constexpr int kNameRole = Qt::UserRole;       // the directory's real name
constexpr int kListedRole = Qt::UserRole + 1; // its subdirectories have been listed
const QString kRoot = QStringLiteral("/");

} // namespace

TCDirectoryOutline::TCDirectoryOutline(QWidget* parent, TTextCase textCase, const QLocale& locale)
    : QTreeWidget(parent), textCase_(textCase), locale_(locale),
      pictureClosed_(style()->standardIcon(QStyle::SP_DirClosedIcon)),
      pictureOpen_(style()->standardIcon(QStyle::SP_DirOpenIcon)) {
    setHeaderHidden(true);
    setColumnCount(1);
    // Deep paths scroll sideways instead of cutting the names short.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);

    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (!IsListed(item))
            BuildOneLevel(item);
        item->setIcon(0, pictureOpen_);
    });
    connect(this, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { item->setIcon(0, pictureClosed_); });
    connect(this, &QTreeWidget::currentItemChanged, this, [this] {
        if (!quiet_)
            Click();
    });
    connect(this, &QTreeWidget::itemClicked, this, [this] { Click(); });
    connect(this, &QTreeWidget::itemDoubleClicked, this, &TCDirectoryOutline::listItem);

    // The tree starts at the process's current directory.
    const QString current = CurDir();
    if (!current.isEmpty()) {
        drive_ = kRoot;
        directory_ = current;
    }
    BuildTree();
}

QString TCDirectoryOutline::ForceCase(const QString& text) const {
    switch (textCase_) {
    case tcLowerCase:
        return locale_.toLower(text);
    case tcUpperCase:
        return locale_.toUpper(text);
    case tcAsIs:
        break;
    }
    return text;
}

QString TCDirectoryOutline::CurDir() {
    return QDir::currentPath();
}

QString TCDirectoryOutline::FullPath(const QTreeWidgetItem* item) const {
    if (!item)
        return {};
    QStringList names;
    for (const QTreeWidgetItem* i = item; i->parent(); i = i->parent())
        names.prepend(i->data(0, kNameRole).toString());
    return kRoot + names.join(QLatin1Char('/'));
}

bool TCDirectoryOutline::IsListed(const QTreeWidgetItem* item) {
    return item && item->data(0, kListedRole).toBool();
}

void TCDirectoryOutline::SetDrive(const QString& drive) {
    // The file system has one root; anything else names no drive.
    if (drive != kRoot || drive == drive_)
        return;
    drive_ = drive;
    directory_ = CurDir();
    BuildTree();
}

void TCDirectoryOutline::SetDirectory(const QString& value) {
    moveTo(value, true);
}

void TCDirectoryOutline::ShowDirectory(const QString& value) {
    moveTo(value, false);
}

void TCDirectoryOutline::moveTo(const QString& value, bool enter) {
    if (value.isEmpty())
        return;
    const QString full = QDir::cleanPath(QDir::current().absoluteFilePath(value));
    if (enter)
        QDir::setCurrent(full); // a directory that cannot be entered still becomes Directory
    if (full == directory_)
        return;
    directory_ = full;
    if (drive_.isEmpty()) {
        drive_ = kRoot; // the one root there is; the tree is built down to Directory
        BuildTree();
        return;
    }
    WalkTree(directory_);
    Change();
}

void TCDirectoryOutline::SetTextCase(TTextCase value) {
    if (value == textCase_)
        return;
    textCase_ = value;
    if (value == tcAsIs) {
        const QString current = CurDir();
        if (!current.isEmpty()) {
            drive_ = kRoot;
            directory_ = current;
        }
    }
    BuildTree();
}

void TCDirectoryOutline::BuildTree() {
    quiet_ = true;
    clear();
    QTreeWidgetItem* root = addItem(nullptr, kRoot);
    quiet_ = false;
    if (!drive_.isEmpty())
        WalkTree(directory_);
    else
        selectQuietly(root);
    Change();
}

QTreeWidgetItem* TCDirectoryOutline::addItem(QTreeWidgetItem* parent, const QString& name,
                                             int index) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, ForceCase(name));
    item->setData(0, kNameRole, name);
    item->setIcon(0, pictureClosed_);
    // Whether a directory has subdirectories is known only once it is listed.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    if (parent)
        parent->insertChild(index < 0 ? parent->childCount() : index, item);
    else
        addTopLevelItem(item);
    return item;
}

void TCDirectoryOutline::BuildOneLevel(QTreeWidgetItem* item) {
    if (!item)
        return;
    const QString path = FullPath(item);
    for (const QString& name : subdirectoryNames(path, locale_))
        addItem(item, name);
    item->setData(0, kListedRole, true);
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TCDirectoryOutline::BuildSubTree(QTreeWidgetItem* item) {
    if (!item)
        return;
    BuildOneLevel(item);
    for (int i = 0; i < item->childCount(); ++i)
        BuildSubTree(item->child(i));
}

void TCDirectoryOutline::Expand(QTreeWidgetItem* item) {
    if (!item)
        return;
    if (!IsListed(item))
        BuildOneLevel(item);
    item->setExpanded(true);
}

QTreeWidgetItem* TCDirectoryOutline::GetChildNamed(const QString& name, QTreeWidgetItem* item) {
    if (!item)
        return nullptr;
    Expand(item);
    for (int i = 0; i < item->childCount(); ++i) {
        if (item->child(i)->data(0, kNameRole).toString() == name)
            return item->child(i);
    }
    const QString wanted = locale_.toUpper(name);
    for (int i = 0; i < item->childCount(); ++i) {
        if (locale_.toUpper(item->child(i)->data(0, kNameRole).toString()) == wanted)
            return item->child(i);
    }
    return nullptr;
}

void TCDirectoryOutline::WalkTree(const QString& path) {
    // A name not among the listed children (a directory beginning with '.', one made after
    // its level was listed) ends the walk at the last item found.
    QTreeWidgetItem* item = RootIndex();
    const QStringList names = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& name : names) {
        QTreeWidgetItem* child = GetChildNamed(name, item);
        if (!child)
            break;
        item = child;
    }
    selectQuietly(item);
}

void TCDirectoryOutline::selectQuietly(QTreeWidgetItem* item) {
    if (!item)
        return;
    quiet_ = true;
    setCurrentItem(item);
    quiet_ = false;
    scrollToItem(item);
}

void TCDirectoryOutline::Refresh() {
    const QString selected = FullPath(currentItem());
    quiet_ = true; // removed items move the current item without a choice of the user
    refreshLevel(RootIndex());
    quiet_ = false;
    if (FullPath(currentItem()) != selected)
        WalkTree(selected);
}

void TCDirectoryOutline::refreshLevel(QTreeWidgetItem* item) {
    if (!IsListed(item))
        return;
    const auto nameOf = [](const QTreeWidgetItem* child) {
        return child->data(0, kNameRole).toString();
    };
    const QStringList names = subdirectoryNames(FullPath(item), locale_);
    const QSet<QString> present(names.begin(), names.end());
    for (int i = item->childCount() - 1; i >= 0; --i) {
        if (!present.contains(nameOf(item->child(i))))
            delete item->takeChild(i);
    }
    // The children left are in list order; the new names go in between.
    for (int i = 0; i < int(names.size()); ++i) {
        if (i < item->childCount() && nameOf(item->child(i)) == names[i])
            continue;
        int found = -1;
        for (int j = i + 1; j < item->childCount() && found < 0; ++j) {
            if (nameOf(item->child(j)) == names[i])
                found = j;
        }
        if (found >= 0)
            item->insertChild(i, item->takeChild(found));
        else
            addItem(item, names[i], i);
    }
    for (int i = 0; i < item->childCount(); ++i)
        refreshLevel(item->child(i));
}

void TCDirectoryOutline::listItem(QTreeWidgetItem* item) {
    if (!item)
        return;
    SetDirectory(FullPath(item));
    Q_EMIT OnDblClick();
}

void TCDirectoryOutline::keyPressEvent(QKeyEvent* event) {
    // Enter lists the selected directory, as a double click does, and goes no further (it
    // would press the window's default button).
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        listItem(currentItem());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void TCDirectoryOutline::Change() {
    Q_EMIT OnChange();
}

void TCDirectoryOutline::Click() {
    if (QTreeWidgetItem* item = currentItem())
        SetDirectory(FullPath(item));
}

} // namespace kx
