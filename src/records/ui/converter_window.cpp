#include "converter_window.h"

#include "line_list_model.h"

#include "records/xml_converter.h"

#include <QGridLayout>
#include <QListView>

namespace kx {

namespace {

QListView* listView(const char* name, LineListModel* model, QWidget* parent) {
    auto* view = new QListView(parent);
    view->setObjectName(QLatin1String(name));
    view->setModel(model);
    view->setUniformItemSizes(true); // keeps a million-line list fast
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return view;
}

} // namespace

TFConv2::TFConv2(QWidget* parent)
    : QWidget(parent, Qt::Window), log_(new LineListModel(this)), kxr_(new LineListModel(this)),
      hq_(new LineListModel(this)), hqc_(new LineListModel(this)) {
    setObjectName(QStringLiteral("FConv2"));
    setWindowTitle(QStringLiteral("FConv2"));
    resize(639, 375);

    // log above kxr on the left, hq above hqc on the right; the lists share extra room.
    auto* layout = new QGridLayout(this);
    layout->addWidget(listView("log", log_, this), 0, 0);
    layout->addWidget(listView("kxr", kxr_, this), 1, 0);
    layout->addWidget(listView("hq", hq_, this), 0, 1);
    layout->addWidget(listView("hqc", hqc_, this), 1, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 1);
}

void TFConv2::showConversion(const XmlConverter& converter) {
    log_->setLines(converter.log());
    kxr_->setLines(converter.kxr());
    hq_->setLines(converter.hq());
    hqc_->setLines(converter.hqc());
}

} // namespace kx
