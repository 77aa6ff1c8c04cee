#include "shell/CollapsiblePanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QVBoxLayout>

namespace ov {
namespace {

constexpr int kHotSpotHeight = 64;
constexpr QMargins kOpenMargins(4, 4, 0, 4);

// The bar on the panel's edge; only its hot spot in the middle folds the panel.
class SizeBar : public QWidget {
public:
    SizeBar(CollapsiblePanel* panel) : QWidget(panel), panel_(panel) {
        setObjectName(QStringLiteral("PanelSizeLeftBar"));
        setFixedWidth(CollapsiblePanel::kBarWidth);
        setMouseTracking(true);
        setToolTip(QStringLiteral("收起/展开课件目录"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(0xB9, 0xD3, 0xEE));
        const QRect spot = HotSpot();
        p.fillRect(spot, QColor(0x4A, 0x90, 0xD9));
        // The arrow points the way the panel will move.
        const double mid = spot.center().y() + 0.5;
        const double tip = panel_->IsCollapsed() ? 5.5 : 1.5;
        const double back = panel_->IsCollapsed() ? 1.5 : 5.5;
        p.setPen(QPen(Qt::white, 1.4));
        p.drawLine(QPointF(back, mid - 5), QPointF(tip, mid));
        p.drawLine(QPointF(tip, mid), QPointF(back, mid + 5));
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        setCursor(HotSpot().contains(event->position().toPoint()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !HotSpot().contains(event->position().toPoint())) return;
        if (panel_->IsCollapsed())
            panel_->Restore();
        else
            panel_->Collapse();
        update();
    }

private:
    QRect HotSpot() const { return QRect(0, (height() - kHotSpotHeight) / 2, width(), kHotSpotHeight); }

    CollapsiblePanel* panel_;
};

}  // namespace

CollapsiblePanel::CollapsiblePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelSizeLeft"));
    setAttribute(Qt::WA_StyledBackground);

    inner_ = new QWidget(this);
    inner_->setObjectName(QStringLiteral("PanelSizeLeftContent"));
    inner_->setAttribute(Qt::WA_StyledBackground);

    CoursewareCaption = new QLabel(QStringLiteral("请选择下面课件:"), inner_);
    CoursewareCaption->setObjectName(QStringLiteral("CoursewareCaption"));

    UnpackBar = new QProgressBar(inner_);
    UnpackBar->setObjectName(QStringLiteral("UnpackBar"));
    UnpackBar->setFixedHeight(15);
    UnpackBar->setTextVisible(false);
    UnpackBar->setRange(0, 100);
    UnpackBar->setValue(0);

    treePlace_ = new QWidget(inner_);
    treePlace_->setObjectName(QStringLiteral("CataloguePlace"));
    treePlace_->setAttribute(Qt::WA_StyledBackground);

    content_ = new QVBoxLayout(inner_);
    content_->setContentsMargins(8, 8, 8, 8);
    content_->setSpacing(8);
    content_->addWidget(CoursewareCaption);
    content_->addWidget(UnpackBar);
    content_->addWidget(treePlace_, 1);

    sizeBar_ = new SizeBar(this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kOpenMargins);
    layout->setSpacing(4);
    layout->addWidget(inner_, 1);
    layout->addWidget(sizeBar_);
    setFixedWidth(expandedWidth_);
}

void CollapsiblePanel::Collapse() {
    SetCollapsed(true);
}

void CollapsiblePanel::Restore() {
    SetCollapsed(false);
}

void CollapsiblePanel::SetCollapsed(bool collapsed) {
    collapsed_ = collapsed;
    inner_->setVisible(!collapsed);
    layout()->setContentsMargins(collapsed ? QMargins() : kOpenMargins);
    setFixedWidth(collapsed ? kBarWidth : expandedWidth_);
    sizeBar_->update();
}

void CollapsiblePanel::SetExpandedWidth(int width) {
    expandedWidth_ = std::max(width, kBarWidth);
    if (!collapsed_) setFixedWidth(expandedWidth_);
}

void CollapsiblePanel::SetCatalogueTree(QWidget* tree) {
    if (tree->objectName().isEmpty()) tree->setObjectName(QStringLiteral("Catalogue"));
    content_->replaceWidget(treePlace_, tree);
    delete treePlace_;
    treePlace_ = tree;
    tree->show();
}

}  // namespace ov
