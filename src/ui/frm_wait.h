#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

// frmWait: the small window shown during a run, "正在处理，请稍候" with a
// blinking ellipsis. It never blocks: the run goes on behind it.
class FrmWait : public QWidget {
    Q_OBJECT
public:
    explicit FrmWait(QWidget *parent = nullptr);

    QString text() const;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void blink();

    QLabel *label_;
    QTimer timer_;
    bool dotsShown_ = true;
};
