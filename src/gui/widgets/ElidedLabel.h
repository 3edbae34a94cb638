#pragma once
// A one-line label that keeps its whole text but paints, when it is wider than the label, its
// beginning and its end with "…" between: a long form typed in the search window leaves the
// count after it in sight.

#include <QLabel>

namespace quorvex {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // What is painted: the text, or its elided form when it does not fit.
    QString shownText() const;
    bool elides() const { return shownText() != text(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quorvex
