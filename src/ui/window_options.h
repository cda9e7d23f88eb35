#pragma once

#include "ui/stored_options.h"

#include <QObject>

#include <optional>

class QSettings;

// The window's options stored beside the job: what the options dialog keeps
// that JobSettings does not carry, and the slideshow interval.
class WindowOptions : public QObject {
    Q_OBJECT
public:
    // settings may be null (nothing is read or stored then).
    explicit WindowOptions(QSettings *settings, QObject *parent = nullptr);

    StoredOptions &stored() { return stored_; }
    QSettings *settings() const { return settings_; }

    // The slideshow interval: one typed in the viewer lasts for this run of the
    // program, until the options dialog stores another one.
    int slideTime() const;
    void setTypedSlideTime(int seconds);

private:
    QSettings *settings_;
    StoredOptions stored_;
    std::optional<int> typedSlideTime_;
    int storedWhenTyped_ = 0;
};
