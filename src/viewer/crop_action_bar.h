#pragma once

#include <QFrame>
#include <QList>

class QPushButton;

// The bar under a finished crop selection: "请选择下一步操作" and the four actions.
class CropActionBar : public QFrame {
    Q_OBJECT
public:
    enum Action { Redo = 0, CopyRegion = 1, Confirm = 2, Leave = 3 };

    explicit CropActionBar(QWidget *parent = nullptr);

    QPushButton *button(int action) const { return buttons_.value(action); }

signals:
    void chosen(int action);

private:
    QList<QPushButton *> buttons_;
};
