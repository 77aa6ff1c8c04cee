#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QVBoxLayout;

namespace ov {

// The catalogue side panel: the pupil folds it away to the 7 px size bar on
// its right edge by the bar's hot spot, and opens it again the same way.
class CollapsiblePanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDefaultWidth = 185;
    static constexpr int kBarWidth = 7;

    explicit CollapsiblePanel(QWidget* parent = nullptr);

    void Collapse();
    void Restore();
    bool IsCollapsed() const { return collapsed_; }
    // The width the panel has when open; applied at once when it is open.
    void SetExpandedWidth(int width);
    int ExpandedWidth() const { return expandedWidth_; }

    // Puts the catalogue tree into its place below the progress bar; the panel
    // takes ownership.
    void SetCatalogueTree(QWidget* tree);

    QLabel* CoursewareCaption;
    QProgressBar* UnpackBar;

private:
    void SetCollapsed(bool collapsed);

    QWidget* inner_;
    QVBoxLayout* content_;
    QWidget* treePlace_;
    QWidget* sizeBar_;
    int expandedWidth_ = kDefaultWidth;
    bool collapsed_ = false;
};

}  // namespace ov
