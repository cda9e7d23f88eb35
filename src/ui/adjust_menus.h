#pragma once

#include "core/colour_matrix.h"
#include "job/job_settings.h"

#include <QObject>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;
class QWidget;

// The rotation, effect and colour controls: the menus "方向旋转", "特效(&X)" and
// "色彩通道", their buttons, the brightness panel, the channel factor boxes and
// the panel "颜色矩阵调整". Each change writes the job and emits changed() once.
class AdjustMenus : public QObject {
    Q_OBJECT
public:
    // The two panels are made as hidden children of panelParent (the preview).
    AdjustMenus(JobSettings &job, QWidget *panelParent, QObject *parent = nullptr);

    // An empty menu is filled; a filled rotation menu is taken as it is (its
    // items already choose the mode) and the buttons trigger its items.
    void populateRotationMenu(QMenu *menu);
    void populateEffectMenu(QMenu *menu);
    void populateColourMenu(QMenu *menu);
    // The buttons of the preview's tool panel.
    QWidget *buildToolPanel(QWidget *parent);

    // Whether the preview shows a picture; rotating without one does nothing.
    void setPictureShown(std::function<bool()> shown) { pictureShown_ = std::move(shown); }

    void chooseRotation(int mode);
    // nullopt is "无特效".
    void chooseEffect(std::optional<int> preset);
    void showBrightnessPanel();
    void toggleChannel(int channel);
    void openMatrixPanel();
    void confirmMatrix();
    void cancelMatrix();

    QAction *noEffectAction() const { return noEffect_; }
    QAction *effectAction(int preset) const { return effects_[preset]; }
    QAction *channelAction(int channel) const { return channels_[channel]; }
    QLineEdit *factorBox(int channel) const { return factorBoxes_[channel]; }
    QLineEdit *matrixBox(int k) const { return matrixBoxes_[k]; }
    QSlider *brightnessSlider() const { return sldBright_; }
    QWidget *brightnessPanel() const;
    QWidget *matrixPanel() const;

signals:
    void changed();
    void hint(const QString &text);

private:
    void buildBrightnessPanel(QWidget *parent);
    void buildMatrixPanel(QWidget *parent);
    void factorsChanged();
    void matrixBoxChanged(int k);
    bool shown() const { return !pictureShown_ || pictureShown_(); }

    JobSettings &job_;
    std::function<bool()> pictureShown_;
    QMenu *effectMenu_ = nullptr;
    QList<QAction *> rotations_; // by mode; index 1 is the separator
    bool ownRotationMenu_ = false;
    QActionGroup *effectGroup_;
    QAction *noEffect_;
    std::array<QAction *, 13> effects_ {};
    std::array<QAction *, 3> channels_ {};
    std::array<QPushButton *, 3> channelButtons_ {};
    std::array<QLineEdit *, 3> factorBoxes_ {};
    std::array<QLineEdit *, 25> matrixBoxes_ {};
    std::optional<ColourMatrixBackup> backup_;
    QGroupBox *brightPanel_ = nullptr;
    QSlider *sldBright_ = nullptr;
    QGroupBox *matrixPanel_ = nullptr;
};
