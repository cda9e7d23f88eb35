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
// the pipeline and the writers only read a copy of it. The members keep the names
// they are stored under (settings files and saved jobs use them); what each one
// means is said beside it. batch/job_fields.cpp describes how each is stored,
// checked and typed on the command line.
struct JobSettings {
    // Size
    int iuSize = kLimitWidth; // the size list's entry: SizeMode, a preset, custom or fit-inside
    double iTargetW = 800; // target width in pixels
    double iTargetH = 0; // target height in pixels; 0 with limit-width: in proportion
    QVector<SizePreset> SizePresets; // the presets of size.ini, between "original" and "custom"
    int bChkResizeOpt = 0; // 1: small pictures keep their size instead of being enlarged
    int bPicJQ = 1; // 1: crop when the proportions differ; 0: extend the canvas with white bands
    int iXCutMode = 1; // what a crop keeps across: 0 left, 1 middle, 2 right
    int iYCutMode = 0; // what a crop keeps down: 0 top, 1 middle, 2 bottom

    // Frame
    int iuBk = 0; // the frame list's entry: 0 no frame, then the pictures of bk, then two commands
    QString sFrameFile; // the frame picture stretched over every output; empty: none

    // Text watermark
    int bTextMark = 0; // 1: the text watermark is drawn
    QString sText; // its text; a whole #date#-style token is replaced per picture
    QString sFont = QStringLiteral("宋体"); // font family
    int iSize = 9; // font size in points
    qint32 lColor = 0; // colour as 0x00BBGGRR
    bool sBold = false;
    bool sUnderline = false;
    bool sItalic = false;
    int iuTxtPos = kCentre; // MarkPosition; what ticking the box first chooses
    double iuTSyX = 0; // with kCustom: the text's left edge as a fraction of the width
    double iuTSyY = 0; // with kCustom: the text's top edge as a fraction of the height

    // Picture watermark
    int bPicMark = 0; // 1: the picture watermark is drawn
    QString suISyF; // the watermark picture's file
    int iuImgPos = kTopRight; // MarkPosition; what ticking the box first chooses
    double iuISyX = 0; // with kCustom: the watermark's centre as a fraction of the width
    double iuISyY = 0; // with kCustom: the watermark's centre as a fraction of the height
    int iuSYAlpha = 80; // opacity in percent; kept together with sngMarkMatrix's alpha
    ColourMatrix sngMarkMatrix = markMatrixFor(iuSYAlpha); // colour matrix the watermark is drawn through
    float sngMarkScale = 1.0f; // watermark size as a factor of its own size

    // Picture adjustments
    ColourMatrix sngColorMatrix = identityMatrix(); // 5 x 5 colour matrix applied to every picture
    float sngOffsetX = 0; // left edge of the picture on its canvas, pixels
    float sngOffsetY = 0; // top edge of the picture on its canvas, pixels
    int iRotateMode = kRotateNone; // RotateMode; kRotateAuto follows the EXIF orientation
    std::optional<int> iEffect; // effect preset 0-12; empty: "无特效"
    int iBrightness = 0; // the brightness slider, -75..75, used by preset 12

    // Output
    QString sOutDir; // the output folder
    QString sODIR; // the folder last chosen in the folder dialog
    QString sFormat = QStringLiteral("jpg"); // output format, or "原格式" for the source's own
    QString sOutExt = QStringLiteral("jpg"); // extension of the current output; sFormat but under "原格式"
    int iJPGQ = 100; // JPEG quality 0-100 (also WebP, HEIC and AVIF)
    int bRename = 0; // 1: outputs are named sPrefix + a sequence number
    QString sPrefix = QStringLiteral("Tuvo_"); // the name's prefix with bRename
    QString iNumDigits = QStringLiteral("4"); // digits of that number, a whole number kept as text
    // Output names from a template instead: %s source name, %n number, %e source extension.
    QString sNameTemplate;
    int iMetadata = kKeepWithoutLocation; // MetadataChoice
    int iColorProfile = kKeepProfile; // ColourChoice
    int iOnClash = kClashOverwrite; // ClashPolicy
    int bKeepFileTime = 0; // 1: an output takes its source's modification time
    // Limits of a written file's size in bytes, 0: none. Lossy formats find the
    // highest quality (down to iMinQuality) that fits iMaxBytes; below that, sizes
    // that are not fixed are scaled down. iMinBytes raises the quality up to 100.
    int iMaxBytes = 0;
    int iMinBytes = 0;
    int iMinQuality = 30;

    // Publishing and after-run actions
    int bUpload = 0; // 1: upload the outputs and write the link page PicURL.htm
    int bMakePDF = 0; // 1: gather the outputs into one PDF
    int bAutoODir = 1; // 1: open the output folder in the file manager after the run
    int bAutoURL = 1; // 1: open the link page in the browser after an upload
    int bShowURL = 1; // 1: the link page shows each picture's address
    int bShowURLPic = 1; // 1: the link page shows each picture itself
    int bSaveErr = 0; // 1: a run with errors writes ErrorLog.txt into the output folder
    QString sPDF1 = QCoreApplication::translate("tuvo", "Tuvo图片集"); // the PDF's title line
    QString sPDF2
        = QCoreApplication::translate("tuvo", "本图片集由Tuvo图片批量处理软件制作"); // its second line
    QString sPDF3; // its date line: today's date, filled by whoever builds the job
    QStringList PicCaptions; // PDF and link-page captions by list position; missing entries are empty

    // Upload account
    QString sFtpServer = QStringLiteral("ftp://"); // ftp://host[:port] or sftp://host[:port]
    QString sFtpUser;
    QString sFtpPassword; // never stored; tuvo-cli takes it from TUVO_FTP_PASSWORD
    QString sFtpDir; // the folder on the server that sWebBase shows
    QString sFtpSubDir; // a subfolder of it for these pictures
    QString sWebBase = QStringLiteral("http://"); // web address of sFtpDir
    bool bFtpPassive = false; // passive FTP
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

// The size list's entries that have names of their own on the command line and in
// job files: limit-width, fit-frame, original, custom, fit. The presets are known
// by size.ini's names instead.
QStringList namedSizeModes();
// The entry of such a name; -1 for any other text.
int namedSizeModeIndex(const JobSettings &job, const QString &name);
// The name of entry index; empty for a preset.
QString namedSizeModeName(const JobSettings &job, int index);

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
