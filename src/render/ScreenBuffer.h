#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <map>
#include <optional>
#include <stdexcept>

class DrawObject;
class QPainter;

// The attributes of a font as the surface hands them in and out. Size is in points going in;
// coming out of GetFont it is the pixel height the font was made with.
struct FontDesc {
    QString Name = QStringLiteral("Arial");
    double Size = 8.25;
    int Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    int Charset = 0;
};

struct ScreenBufferError : std::runtime_error {
    ScreenBufferError(long number, QString source, QString description);
    long Number;
    QString Source;
    QString Description;
};

// An off-screen picture of a window's client area: everything is drawn here and then copied to
// the window in one piece by Flip. Colours are 0x00BBGGRR. The size is fixed at Create.
class ScreenBuffer {
public:
    ScreenBuffer() = default;
    ~ScreenBuffer() { Destroy(); }
    ScreenBuffer(const ScreenBuffer&) = delete;
    ScreenBuffer& operator=(const ScreenBuffer&) = delete;

    enum Align { AlignNone = 0, AlignCenterX = 1, AlignCenterY = 4, AlignCenter = 5 };
    enum StretchModes { BlackOnWhite = 1, WhiteOnBlack = 2, ColorOnColor = 3, Halftone = 4 };

    void Create(DrawObject* drawObject);
    void Destroy();
    bool Created() const { return created_; }

    QImage* hDC() { return created_ ? &image_ : nullptr; }
    long Width() const { return width_; }
    long Height() const { return height_; }
    long BackColor() const { return backColor_; }
    void SetBackColor(long color) { backColor_ = color; }
    long ForeColor() const { return foreColor_; }
    void SetForeColor(long color) { foreColor_ = color; }
    long StretchMode() const { return stretchMode_; }
    void SetStretchMode(long mode) { stretchMode_ = mode; }

    void Clear(long color = 0, long width = 0, long height = 0);
    void Flip(long width = 0, long height = 0);
    long Pixel(int x, int y) const;

    void DrawText(int x, int y, const QString& text, long color, int align = AlignNone);
    void DrawTextMultiLine(int x, int y, const QString& text, long color = 0);
    void SetFont(const std::optional<FontDesc>& font, int height = 0, int width = 0,
                 int escapement = 0, int orientation = 0, int quality = 0);
    // Selects a ready font, as a window's own font is selected into the surface.
    void SelectFont(const QFont& font) { font_ = font; hasFont_ = true; }
    const QFont& CurrentFont() const { return font_; }
    FontDesc GetFont() const;

    bool CachePic(const QImage& picture);
    void Blt(const QImage& picture, int x, int y, int w = 0, int h = 0, bool stretch = false,
             std::optional<long> transColor = std::nullopt, bool monochrome = false);
    void DrawCircle(int x, int y, int radius, long color = -1, int thickness = 1);
    void DrawRect(int x1, int y1, int x2, int y2, long color = -1, int thickness = 1);
    void DrawFilledRect(int left, int top, int right, int bottom, long color);
    void DrawGradientRect(int left, int top, int bottom, int right, long color1, long color2,
                          int direction);
    void DrawGradientTriangle(int x1, int y1, long color1, int x2, int y2, long color2, int x3,
                              int y3, long color3);
    void RotateBlt(const QImage& picture, int x, int y, double degrees);
    void RotateBltVB(const QImage& picture, int x, int y, double degrees);
    static void TintBitmap(QImage& bitmap, float red, float green, float blue);
    static void MakeBitmap32Bit(const QImage& bitmap, float red, float green, float blue,
                                QImage& result);

    static QColor ToColor(long bgr);
    static long FromColor(const QColor& color);

private:
    QColor resolve(long color) const { return ToColor(color == -1 ? foreColor_ : color); }
    QSize clientSize() const;
    void beginText(QPainter& painter, long color);
    QImage cached(const QImage& picture) const;

    DrawObject* drawObject_ = nullptr;
    QImage image_;
    bool created_ = false;
    long width_ = 0;
    long height_ = 0;
    long backColor_ = 0xFFFFFF;
    long foreColor_ = 0;
    long stretchMode_ = BlackOnWhite;
    QFont font_;
    bool hasFont_ = false;
    int escapement_ = 0;
    int charset_ = 0;
    std::map<qint64, QImage> pictureCache_;
};
