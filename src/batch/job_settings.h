#pragma once

#include "core/colour_matrix.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// One row of size.ini: name;width;height, the numbers kept as typed.
struct SizePreset {
    QString name;
    QString width;
    QString height;
};

// Size modes of the size list; presets sit between kOriginalSize and the custom
// entry, and fit-inside follows the custom entry.
enum SizeMode : int {
    kLimitWidth = 0,
    kFitFrame = 1,
    kOriginalSize = 2,
    kFirstPreset = 3,
};

// Rotation menu entries (index 1 is the separator line).
enum RotateMode : int {
    kRotateNone = 0,
    kRotateAuto = 2,
    kRotateClockwise = 3,
    kRotateCounterClockwise = 4,
    kRotate180 = 5,
    kMirrorHorizontal = 6,
    kMirrorVertical = 7,
};

// Positions of both watermarks, in list order.
enum MarkPosition : int {
    kBottomRight = 0,
    kBottomLeft = 1,
    kTopLeft = 2,
    kTopRight = 3,
    kCentre = 4,
    kCustom = 5,
};

// "元数据": what of a source picture's EXIF, XMP and IPTC an output keeps.
enum MetadataChoice : int {
    kKeepMetadata = 0,
    kKeepWithoutLocation = 1, // GPS and the location fields removed
    kStripMetadata = 2,
};

// Colour profile of the outputs.
enum ColourChoice : int {
    kKeepProfile = 0, // the source's profile is embedded, pixels untouched
    kConvertToSrgb = 1,
};

// What a run does with an output name that exists already or that an earlier
// picture of the run takes (stored as iOnClash).
enum ClashPolicy : int {
    kClashOverwrite = 0, // the file is replaced; within a run the later picture wins
    kClashNumber = 1, // name_2.jpg, name_3.jpg, ...
    kClashSkip = 2, // the existing file is kept and the picture skipped
    kClashFail = 3, // the picture fails with an error line
};

constexpr int kMaxSizePresets = 501;
constexpr int kListTableSize = 10000;
constexpr int kBrightnessPreset = 12;

// Every option of one job. The controls, the settings store and tuvo-cli write it;
// the pipeline and the writers only read a copy of it.
struct JobSettings {
    // Size
    int iuSize = kLimitWidth;
    double iTargetW = 800;
    double iTargetH = 0;
    QVector<SizePreset> SizePresets;
    int bChkResizeOpt = 0;
    int bPicJQ = 1;
    int iXCutMode = 1;
    int iYCutMode = 0;

    // Frame
    int iuBk = 0;
    QString sFrameFile;

    // Text watermark
    int bTextMark = 0;
    QString sText;
    QString sFont = QStringLiteral("宋体");
    int iSize = 9;
    qint32 lColor = 0;
    bool sBold = false;
    bool sUnderline = false;
    bool sItalic = false;
    int iuTxtPos = kCentre; // what ticking the box first chooses
    double iuTSyX = 0;
    double iuTSyY = 0;

    // Picture watermark
    int bPicMark = 0;
    QString suISyF;
    int iuImgPos = kTopRight; // what ticking the box first chooses
    double iuISyX = 0;
    double iuISyY = 0;
    int iuSYAlpha = 80;
    ColourMatrix sngMarkMatrix = markMatrixFor(80);
    float sngMarkScale = 1.0f;

    // Picture adjustments
    ColourMatrix sngColorMatrix = identityMatrix();
    float sngOffsetX = 0;
    float sngOffsetY = 0;
    int iRotateMode = kRotateNone;
    std::optional<int> iEffect; // empty: "无特效"
    int iBrightness = 0; // the brightness slider, -75..75

    // Output
    QString sOutDir;
    QString sODIR;
    QString sFormat = QStringLiteral("jpg");
    QString sOutExt = QStringLiteral("jpg");
    int iJPGQ = 100;
    int bRename = 0;
    QString sPrefix = QStringLiteral("Tuvo_");
    QString iNumDigits = QStringLiteral("4");
    int iMetadata = kKeepWithoutLocation;
    int iColorProfile = kKeepProfile;
    int iOnClash = kClashOverwrite;

    // Publishing and after-run actions
    int bUpload = 0;
    int bMakePDF = 0;
    int bAutoODir = 1;
    int bAutoURL = 1;
    int bShowURL = 1;
    int bShowURLPic = 1;
    int bSaveErr = 0;
    QString sPDF1 = QCoreApplication::translate("tuvo", "Tuvo图片集");
    QString sPDF2 = QCoreApplication::translate("tuvo", "本图片集由Tuvo图片批量处理软件制作");
    QString sPDF3; // filled with today's date by whoever builds the job
    QStringList PicCaptions; // by list position; missing entries are empty

    // Upload account
    QString sFtpServer = QStringLiteral("ftp://");
    QString sFtpUser;
    QString sFtpPassword;
    QString sFtpDir;
    QString sFtpSubDir;
    QString sWebBase = QStringLiteral("http://");
    bool bFtpPassive = false;
    // Secure transfers: FTP tries AUTH TLS always; with bFtpRequireTls a server
    // without TLS is refused before the password is sent (the account dialog turns
    // it on for new accounts). sFtpCaFile or sFtpPin (SHA-256 of the server's public
    // key) trust a self-signed server for this account only. SFTP ("sftp://host")
    // logs in with sFtpKeyFile (else ~/.ssh/id_ed25519, id_rsa) or the password and
    // checks the host key against ~/.ssh/known_hosts; sFtpHostKey is a fingerprint
    // (SHA256:...) the user accepted for a host not yet known there.
    bool bFtpRequireTls = false;
    QString sFtpCaFile;
    QString sFtpPin;
    QString sFtpKeyFile;
    QString sFtpHostKey;

    // Index of the custom size entry, the last one of the size list.
    int customSizeIndex() const { return kFirstPreset + int(SizePresets.size()); }
    // "适应框内": the longest side fits iTargetW x iTargetH, nothing cropped or added.
    int fitInsideIndex() const { return customSizeIndex() + 1; }

    static ColourMatrix markMatrixFor(int alphaPercent);
    // Sets iuSYAlpha and the alpha element of sngMarkMatrix together.
    void setMarkAlpha(int alphaPercent);
    // Slider value -20..20 to sngMarkScale.
    static float markScaleForSlider(int v);
};

// Size-mode selection: rewrites iTargetW/iTargetH as the size list does.
void chooseSizeMode(JobSettings &job, int index);

// Today's date as the PDF date line and the date token show it.
QString chineseDate(const class QDate &date);

// The state one batch run shares with the pipeline.
struct RunState {
    bool bStopRequest = false;
    bool bPreviewOff = false;
    bool bHadError = false;
    QString sErrorText = errorReportHeader();
    QStringList OutputFiles = QStringList(kListTableSize);
    QStringList UploadLinks;
    QList<int> UploadPositions; // list position of each link, for its caption

    static QString errorReportHeader();
    void appendError(const QString &line);
    // A report line that does not make the run a failed one.
    void appendWarning(const QString &line);
    void reset();
};
