#pragma once

#include "dialogs/prompter.h"
#include "viewer/frm_pic.h"
#include "viewer/viewer_request.h"

#include <QColor>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>

// A temporary folder with pictures, a settings file and a viewer request on a
// 1920 x 1080 screen.
class ViewerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        settings
            = std::make_unique<QSettings>(dir.filePath(QStringLiteral("tuvo.ini")), QSettings::IniFormat);
    }

    // Writes a w x h picture filled with colour; the extension picks the format.
    QString picture(const QString &name, int w, int h, QColor colour = QColor(40, 120, 200))
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path)) << path.toStdString();
        return path;
    }

    ViewerRequest request(const QStringList &paths, int current = 0)
    {
        ViewerRequest r;
        r.paths = paths;
        r.current = current;
        r.userDir = dir.filePath(QStringLiteral("user"));
        r.settings = settings.get();
        r.prompter = &prompter;
        r.screenArea = QRect(0, 0, 1920, 1080);
        return r;
    }

    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    ScriptedPrompter prompter;
};
