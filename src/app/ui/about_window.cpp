#include "about_window.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

namespace kx {

namespace {

const QColor kLime(0, 255, 0);
const QColor kYellow(255, 255, 0);

inline const char* const kGameAddress = "https://www.kexland.example/";
inline const char* const kAuthorAddress = "https://kxreview.example/autori/";

QFont windowFont() {
    QFont font;
    font.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(13);
    return font;
}

} // namespace

TFAbout::TFAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FAbout"));
    setWindowTitle(QStringLiteral("O aplikaci KX Review"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(windowFont());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, kLime);
    setPalette(colours);
    setAutoFillBackground(true);
    setMouseTracking(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 8, 8);
    layout->setSpacing(4);
    // Each label on its own line, its left edge `left` pixels from the window's.
    auto addLine = [layout](int left, std::initializer_list<QLabel*> labels) {
        auto* line = new QHBoxLayout;
        line->setSpacing(0);
        line->addSpacing(left);
        for (QLabel* label : labels)
            line->addWidget(label, 0, Qt::AlignBottom);
        line->addStretch(1);
        layout->addLayout(line);
    };
    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    auto link = [&](const char* name, const QString& text) {
        QLabel* l = label(name, text);
        QPalette yellow = l->palette();
        yellow.setColor(QPalette::WindowText, kYellow);
        l->setPalette(yellow);
        l->setCursor(Qt::PointingHandCursor);
        l->setMouseTracking(true);
        l->installEventFilter(this);
        return l;
    };
    auto sized = [](QLabel* l, int pixels, bool bold, bool italic) {
        QFont font = l->font();
        if (pixels > 0)
            font.setPixelSize(pixels);
        font.setBold(bold);
        font.setItalic(italic);
        l->setFont(font);
        return l;
    };

    addLine(60, {sized(label("Label1", QStringLiteral("KX Review")), 32, false, false)});
    addLine(8, {sized(label("Label13", QStringLiteral("Verze 0.5 ")), 0, false, true)});
    addLine(8,
            {label("Label2", QString::fromUtf8("KX Review je přehrávač světů pro online hru "))});
    addLine(8, {label("Label3", QStringLiteral("Kexland, kterou najdete na "))});
    Label5_ = link("Label5", QLatin1String(kGameAddress));
    addLine(24, {Label5_});
    addLine(8, {label("Label6", QStringLiteral("Autor tohoto programu: ")),
                sized(label("Label7", QString::fromUtf8("tým KX Review")), 16, true, false)});
    addLine(8, {label("Label8", QString::fromUtf8("Inspiroval jsem se původním přehrávačem"))});
    addLine(8, {label("Label9", QString::fromUtf8("záznamů - programem KXR Player."))});
    addLine(8, {label("Label10", QString::fromUtf8("Více o mne:"))});
    Label11_ = link("Label11", QLatin1String(kAuthorAddress));
    addLine(24, {Label11_});
    Label12_ = link("Label12", QString::fromUtf8("Zavřít toto okno"));
    addLine(8, {Label12_});
    layout->addStretch(1);

    // 271 x 268 pixels, or what the texts need where the system's font is wider.
    setFixedSize(sizeHint().expandedTo(QSize(271, 268)));

    opener_ = [](const QString& address) { QDesktopServices::openUrl(QUrl(address)); };
}

void TFAbout::underline(bool label5, bool label11, bool label12) {
    const std::pair<QLabel*, bool> states[] = {
        {Label5_, label5}, {Label11_, label11}, {Label12_, label12}};
    for (const auto& [label, on] : states) {
        QFont font = label->font();
        if (font.underline() != on) {
            font.setUnderline(on);
            label->setFont(font);
        }
    }
}

void TFAbout::FormMouseMove() {
    underline(false, false, false);
}
void TFAbout::Label5MouseMove() {
    underline(true, false, false);
}
void TFAbout::Label11MouseMove() {
    underline(false, true, false);
}
void TFAbout::Label12MouseMove() {
    underline(false, false, true);
}

void TFAbout::Label5Click(QLabel* sender) {
    if (sender && opener_)
        opener_(sender->text()); // a failure to open is not reported
}

void TFAbout::Label12Click() {
    close();
}

bool TFAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (watched == Label5_)
            Label5MouseMove();
        else if (watched == Label11_)
            Label11MouseMove();
        else if (watched == Label12_)
            Label12MouseMove();
        else
            return QDialog::eventFilter(watched, event);
        return true; // a move over a link is not also a move over the window
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = qobject_cast<QLabel*>(watched);
        if (label && mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            if (label == Label12_)
                Label12Click();
            else
                Label5Click(label);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFAbout::mouseMoveEvent(QMouseEvent* event) {
    FormMouseMove();
    QDialog::mouseMoveEvent(event);
}

void TFAbout::showEvent(QShowEvent* event) {
    // The window opens in the middle of the screen.
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

} // namespace kx
