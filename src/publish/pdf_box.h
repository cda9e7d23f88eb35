#pragma once

#include <QColor>
#include <QString>

#include <memory>

class CommittedFile;
typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

// Property numbers of a PdfBox. Numbers, not names, because the PDF step is
// written as a sequence of numbered settings.
enum PdfProperty : int {
    kPdfFontName = 11, // text: font family of DrawText
    kPdfTitle = 14, // text: the document title
    kPdfTextColour = 24, // colour value red + 256 green + 65536 blue; -1 black
    kPdfFontSize = 28, // points
    kPdfPictureFit = 31, // 1 stretch to the rectangle, 2 keep proportions
    kPdfUnits = 44, // 1: page units of 0.1 mm (the only unit offered)
    kPdfPictureScale = 45, // percent of the fitted size
    kPdfPictureBorder = 46, // colour of a thin frame round each picture; -1 none
    kPdfPictureAlignX = 51, // 0 left, 1 right, 2 centre
    kPdfPictureAlignY = 52, // 0 top, 1 bottom, 2 centre
};

// Alignment arguments of DrawText and the picture alignment properties.
enum PdfAlign : int { kPdfAlignStart = 0, kPdfAlignEnd = 1, kPdfAlignCentre = 2 };

// A small document writer with the calls the PDF step is written against, over
// cairo's PDF surface with Pango for the text. Pages are A4 portrait, 2100 x 2970
// units of 0.1 mm, origin top left. Every call answers -1 on failure (GetErrorMsg
// says why) and 0 otherwise. The file appears only when EndDoc succeeds and every
// byte of it was written; a box dropped earlier leaves no file.
//
// Not QPdfWriter: its text layer maps each glyph back to the lowest code point
// the font gives it, and CJK fonts share glyphs between ideographs and the Kangxi
// radicals (片 came back as U+2F5A); it also has no mapping outside the BMP.
// Pango hands cairo the text with its glyphs, so the text layer is the text.
class PdfBox {
public:
    static constexpr int kPageWidth = 2100;
    static constexpr int kPageHeight = 2970;

    static std::unique_ptr<PdfBox> CreateBox(const QString &filePath);
    ~PdfBox();

    int SetNumProp(int property, qint32 value);
    int SetStrProp(int property, const QString &value);
    int BeginDoc();
    int NewPage();
    int DrawText(int left, int top, int right, int bottom, int alignX, int alignY, const QString &text);
    int StretchDrawFromFile(int left, int top, int right, int bottom, const QString &path);
    int EndDoc();
    QString GetErrorMsg() const { return error_; }

private:
    explicit PdfBox(const QString &filePath);
    int fail(const QString &message);
    int requireDocument();
    int checkCairo(const QString &what);

    QString filePath_;
    std::unique_ptr<CommittedFile> file_;
    cairo_surface_t *surface_ = nullptr;
    cairo_t *cr_ = nullptr;
    QString error_;
    QString title_;
    QString fontFamily_;
    int fontSize_ = 12; // points
    QColor textColour_ = Qt::black;
    int pictureFit_ = 2;
    int pictureScale_ = 100;
    qint32 pictureBorder_ = -1;
    int pictureAlignX_ = kPdfAlignCentre;
    int pictureAlignY_ = kPdfAlignCentre;
    bool begun_ = false;
    bool ended_ = false;
};
