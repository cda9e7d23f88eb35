#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

// The new iSlideTime for an answer to the interval box: the whole-number part of a
// number from 1 to 32767 ("2.7" gives 2); nothing for anything else.
std::optional<int> slideTimeFromAnswer(const QString &answer);

// The slideshow timer and SlideCounter. The timer's interval is iSlideTime * 1000
// milliseconds held in 16 bits, so 33 seconds or more cannot be applied and the
// timer keeps the interval it had.
class SlideShow : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultIntervalMs = 3000;

    explicit SlideShow(QObject *parent = nullptr);

    // false when seconds * 1000 does not fit (or seconds is not positive).
    bool setIntervalSeconds(int seconds);
    int intervalMs() const { return timer_.interval(); }

    void start() { timer_.start(); }
    void stop() { timer_.stop(); }
    bool isRunning() const { return timer_.isActive(); }

    // The list position the next slide shows, for a list of count entries, and
    // advances SlideCounter; -1 for an empty list. The counter wraps with the list,
    // so a long show never sticks on one picture.
    int nextPosition(int count);
    int counter() const { return SlideCounter; }

signals:
    void tick();

private:
    QTimer timer_;
    int SlideCounter = 0;
};
