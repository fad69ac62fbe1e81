#pragma once

#include "controls/OleColor.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

class FlatToolTip;
class PropertyBag;

// A self-drawn flat push button: caption and/or picture, colours and border per state, toggle
// and group behaviour, a colour fade between states and its own tooltip. Every paint goes to an
// off-screen buffer that the owner may draw into (PaintBuffer) before it reaches the screen.
class XFlatButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Text READ Text WRITE SetText)

// Plain properties whose change only needs a redraw.
#define XFB_PROPERTY(Type, Name, member)                                                     \
public:                                                                                      \
    Type Name() const { return member; }                                                     \
    void Set##Name(Type value)                                                               \
    {                                                                                        \
        if (member == value)                                                                 \
            return;                                                                          \
        member = value;                                                                      \
        Refresh();                                                                           \
    }

public:
    enum class Look { Normal, Hovered, Pressed, Disabled };
    enum Behavior { NoToolTip = 0, ToolTipAtOnce = 1, ToolTipAfterHover = 2 };

    explicit XFlatButton(QWidget* parent = nullptr);
    ~XFlatButton() override;

    QString Text() const { return m_text; }
    void SetText(const QString& text);
    void SetFont(const QFont& font);
    int TextAlignment() const { return m_textAlignment; }
    void SetTextAlignment(int alignment);
    XFB_PROPERTY(int, TextCustomX, m_textCustomX)
    XFB_PROPERTY(int, TextCustomY, m_textCustomY)
    XFB_PROPERTY(float, TextAngle, m_textAngle)
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    XFB_PROPERTY(OleColor, TextColor, m_textColor)
    XFB_PROPERTY(OleColor, HoverColor, m_hoverColor)
    XFB_PROPERTY(OleColor, PressedColor, m_pressedColor)
    XFB_PROPERTY(OleColor, DisabledColor, m_disabledColor)
    XFB_PROPERTY(bool, DisabledEmbossed, m_disabledEmbossed)
    XFB_PROPERTY(OleColor, BackColor, m_backColor)
    XFB_PROPERTY(OleColor, HoverBackColor, m_hoverBackColor)
    XFB_PROPERTY(OleColor, PressedBackColor, m_pressedBackColor)
    XFB_PROPERTY(int, StandardPressedBack, m_standardPressedBack)
    XFB_PROPERTY(int, NormalBorderStyle, m_normalBorderStyle)
    XFB_PROPERTY(int, HoverBorderStyle, m_hoverBorderStyle)
    XFB_PROPERTY(int, PressedBorderStyle, m_pressedBorderStyle)
    XFB_PROPERTY(bool, CenterPicture, m_centerPicture)
    XFB_PROPERTY(int, CustomPictureX, m_customPictureX)
    XFB_PROPERTY(int, CustomPictureY, m_customPictureY)
    XFB_PROPERTY(bool, StretchPicture, m_stretchPicture)
    XFB_PROPERTY(bool, ShowTextPressed, m_showTextPressed)
    XFB_PROPERTY(int, ShowFocus, m_showFocus)
    XFB_PROPERTY(int, TagHover, m_tagHover)
    XFB_PROPERTY(int, TagPress, m_tagPress)
    XFB_PROPERTY(bool, Togglable, m_togglable)
    XFB_PROPERTY(bool, AllowRightClick, m_allowRightClick)
    XFB_PROPERTY(bool, MouseEventsWhenDisabled, m_mouseEventsWhenDisabled)
    XFB_PROPERTY(int, Group, m_group)
    XFB_PROPERTY(int, ToolTipBehavior, m_toolTipBehavior)
    XFB_PROPERTY(int, ToolTipAppearance, m_toolTipAppearance)
#undef XFB_PROPERTY

public:
    // Pictures per state; the normal picture stands in for a state that has none.
    QPixmap Picture() const { return m_pictures[0]; }
    void SetPicture(const QPixmap& picture) { SetStatePicture(0, picture); }
    QPixmap PictureHover() const { return m_pictures[1]; }
    void SetPictureHover(const QPixmap& picture) { SetStatePicture(1, picture); }
    QPixmap PicturePressed() const { return m_pictures[2]; }
    void SetPicturePressed(const QPixmap& picture) { SetStatePicture(2, picture); }
    QPixmap PictureDisabled() const { return m_pictures[3]; }
    void SetPictureDisabled(const QPixmap& picture) { SetStatePicture(3, picture); }
    bool Transparency() const { return m_transparency; }
    void SetTransparency(bool on);
    OleColor TransparentColor() const { return m_transparentColor; }
    void SetTransparentColor(OleColor color);

    bool ToggleStatePressed() const { return m_toggleStatePressed; }
    void SetToggleStatePressed(bool pressed);
    void Toggle();

    // Focus margin in pixels; until one is set it follows the control's size.
    int FocusMargin() const;
    void SetFocusMargin(int margin);
    // Fade length in milliseconds; 0 switches colours at once.
    int GradientLength() const { return m_gradientMs; }
    void SetGradientLength(int milliseconds);

    int TEMPLATE() const { return m_template; }
    void SetTEMPLATE(int style);

    // Run-time only.
    OleColor CurrentColor() const { return ToOleColor(m_shownText); }
    bool HasFocus() const { return hasFocus(); }
    bool LockState() const { return m_locked; }
    Look CurrentLook() const;
    bool ToolTipVisible() const;
    void SetToolTipVisible(bool visible);
    int ScaleWidth() const { return width(); }
    void SetScaleWidth(int w) { resize(w, height()); }
    int ScaleHeight() const { return height(); }
    void SetScaleHeight(int h) { resize(width(), h); }

    // A property set from BeforePaint must not queue another paint behind the running one.
    void Refresh()
    {
        if (!m_painting)
            update();
    }
    void Paint() { repaint(); }
    void ShowNotHovering(bool lockState = false, bool repaintNow = true);
    void ShowPressed(bool lockState = false, bool repaintNow = true);
    void ShowHovering(bool lockState = false, bool repaintNow = true);
    void UnlockState();

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // Which widget is under the pointer; the hover watchdog asks this every 50 ms. Tests replace
    // it to move the pointer away without any event reaching the button.
    void SetPointerProbe(std::function<QWidget*()> probe) { m_pointerProbe = std::move(probe); }

    // Where the caption's box goes for each alignment code; public for the tests and the shell.
    QPoint CaptionOrigin(const QSize& textSize) const;
    static int SystemHoverTime();

    QSize sizeHint() const override { return QSize(75, 25); }

signals:
    void Click();
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    void ToggleChanged(bool pressed);
    void ToolTip(QString& text, bool& cancel);
    void Hover();
    void StopHover();
    void Painted(); // the Paint event; the name Paint is the method that repaints
    void Resize();
    void EnableStateChanged();
    void DblClick();
    void MustLoseFocus(QWidget*& newFocus);
    void BeforePaint();
    void PaintBuffer(QPainter* buffer);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool PassesMouseEvents() const { return m_enabled || m_mouseEventsWhenDisabled; }
    bool Presses(Qt::MouseButton button) const;
    void Press(bool takeFocus);
    void ReleasePress(bool activates);
    void TrackPointer(const QPoint& position, Qt::MouseButtons buttons);
    void BeginHover();
    void EndHover();
    void WatchPointer();
    void ShowToolTipNow();
    void HideToolTip();
    void ForceLook(Look look, bool lockState, bool repaintNow);
    void LookMayHaveChanged();
    void StepFade();
    void SetStatePicture(int state, const QPixmap& picture);
    QPixmap DrawablePicture(Look look) const;
    QColor TargetTextColor(Look look) const;
    QColor TargetBackColor(Look look) const;
    int BorderStyleFor(Look look) const;
    void RenderBuffer();
    void DrawCaption(QPainter& painter, Look look) const;

    QString m_text;
    int m_textAlignment = 0;
    int m_textCustomX = 0, m_textCustomY = 0;
    float m_textAngle = 0;
    bool m_enabled = true;
    OleColor m_textColor = SystemColor::ButtonText;
    OleColor m_hoverColor = 0xFF0000;
    OleColor m_pressedColor = 0xFF0000;
    OleColor m_disabledColor = SystemColor::GrayText;
    bool m_disabledEmbossed = true;
    OleColor m_backColor = SystemColor::ButtonFace;
    OleColor m_hoverBackColor = SystemColor::ButtonFace;
    OleColor m_pressedBackColor = SystemColor::ButtonFace;
    int m_standardPressedBack = 1;
    int m_normalBorderStyle = 5, m_hoverBorderStyle = 5, m_pressedBorderStyle = 10;
    QPixmap m_pictures[4];
    bool m_centerPicture = true;
    int m_customPictureX = 0, m_customPictureY = 0;
    bool m_stretchPicture = false;
    bool m_transparency = false;
    OleColor m_transparentColor = 0;
    bool m_showTextPressed = true;
    bool m_togglable = false;
    bool m_toggleStatePressed = false;
    int m_group = 0;
    bool m_allowRightClick = false;
    int m_showFocus = 1;
    std::optional<int> m_focusMargin;
    int m_gradientMs = 0;
    bool m_mouseEventsWhenDisabled = false;
    int m_toolTipBehavior = ToolTipAtOnce;
    int m_toolTipAppearance = 1;
    int m_tagHover = 0, m_tagPress = 0;
    int m_template = 0;

    bool m_hovered = false;
    bool m_mousePressed = false;
    bool m_keyPressed = false;
    std::optional<Look> m_forcedLook;
    bool m_locked = false;
    bool m_painting = false;
    bool m_applyingGroup = false;
    Look m_lastLook = Look::Normal;
    QColor m_shownText, m_shownBack, m_fadeFromText, m_fadeFromBack;
    QElapsedTimer m_fadeClock;
    QPixmap m_buffer;
    QTimer m_tmrMouse, m_grad, m_tmrToolTip;
    QPointer<FlatToolTip> m_toolTip;
    std::function<QWidget*()> m_pointerProbe;
};
