#pragma once

#include "render/mark_hit_test.h"

#include <QString>
#include <QStringList>

class AppPaths;
class JobSession;
class PreviewCanvas;
class QAction;
class QComboBox;
class QMenu;
class QSettings;
class QWidget;
class WindowOptions;
struct MarkPlacement;

// What the main window lends its add-ons (editing, viewer, capture): the session
// they work on, the preview and menus they draw into, and the status line they
// speak through. They see nothing else of the window.
class AddOnHost {
public:
    enum class Menu { Image, Rotation, Effect, Colour };

    virtual ~AddOnHost() = default;

    virtual JobSession &session() = 0;
    virtual WindowOptions &options() = 0;
    virtual const AppPaths &paths() const = 0;
    virtual QSettings *settings() const = 0;
    // Parent of the add-ons' dialogs, owner of the viewer.
    virtual QWidget *widget() = 0;

    virtual PreviewCanvas *canvas() const = 0;
    // Where the latest preview drew the watermarks.
    virtual const MarkPlacement &lastMarks() const = 0;
    virtual void setOffsets(float x, float y) = 0;
    virtual QMenu *menu(Menu which) const = 0;
    // The position list of the text or the picture watermark.
    virtual QComboBox *positionList(MarkHit which) const = 0;
    // Shown in the preview's context menu after the watermark entries.
    virtual void setCanvasEditActions(const QList<QAction *> &actions) = 0;

    virtual int currentRow() const = 0;
    virtual void setCurrentRow(int row) = 0;
    // "删除" for one entry, with its undo record.
    virtual void removeEntry(int row) = 0;
    // Appends without the duplicate test and makes the last one current.
    virtual void appendPictures(const QStringList &paths) = 0;

    virtual void showStatus(const QString &text) = 0;
    virtual void showError(const QString &text) = 0;
};
