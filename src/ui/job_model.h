#pragma once

#include "batch/job_settings.h"
#include "ui/stored_options.h"

#include <QObject>

#include <optional>

class QSettings;

// The job the main window edits and the options stored beside it. The window
// owns it; the editing, viewer and capture add-ons work on it instead of
// reaching into the window, and report their edits through changed().
class JobModel : public QObject {
    Q_OBJECT
public:
    // settings may be null (nothing is read or stored then).
    explicit JobModel(QSettings *settings, QObject *parent = nullptr);

    JobSettings &job() { return job_; }
    const JobSettings &job() const { return job_; }
    StoredOptions &stored() { return stored_; }
    QSettings *settings() const { return settings_; }

    // The slideshow interval: one typed in the viewer lasts for this run of the
    // program, until the options dialog stores another one.
    int slideTime() const;
    void setTypedSlideTime(int seconds);

    // An add-on edited job(): the window redraws its preview.
    void markChanged() { emit changed(); }

signals:
    void changed();

private:
    QSettings *settings_;
    JobSettings job_;
    StoredOptions stored_;
    std::optional<int> typedSlideTime_;
    int storedWhenTyped_ = 0;
};
