#pragma once

#include <memory>

#include "VelBevel.h"
#include "VelCustomPanel.h"

// The panel with a bevel as its border; the edit stands on it.
//
// In bmWindows mode the border is the window's own, as a native window would draw it: a 2-pixel
// sunken client edge (outer line shadow over highlight, inner line dark shadow over light) with
// Ctl3D, a 1-pixel window-frame line without, none when themed. It lies outside ClientRect, which
// shrinks by its width on every side; the bevel itself then takes no room, so InnerRect equals
// ClientRect. Children are laid out inside InnerRect (the widget's contents margins follow it).
class TVelCustomBevelPanel : public TVelCustomPanel {
    Q_OBJECT

public:
    explicit TVelCustomBevelPanel(QWidget* parent = nullptr);
    ~TVelCustomBevelPanel() override;

    TVelBevel* Bevel() const { return bevel_.get(); }
    // Copies the settings of Value into the owned bevel.
    void SetBevel(const TVelBevel* Value);

    bool NoHandleUpdate() const { return noHandleUpdate_; }
    void SetNoHandleUpdate(bool Value) { noHandleUpdate_ = Value; }

    // The client area less the bevel: where content and children go.
    QRect InnerRect() const;
    QRect SizeGripRect() const;

    void SubObjectChanged(QObject* Sender) override;
    void RecreateWnd() override;
    void Loaded() override;

protected:
    virtual TVelBevel* CreateBevel();

    void WndProc(TMessage& Message) override;
    void Paint(QPainter& Canvas) override;
    void PaintWindowFrame(QPainter& Canvas) override;
    void DrawFullFrame(QPainter& Canvas) override;
    void DrawFlatFrame(QPainter& Canvas) override;
    void ThemeModeChanged() override;

private:
    void UpdateMargins();

    std::unique_ptr<TVelBevel> bevel_;
    bool noHandleUpdate_ = false;
    bool destroying_ = false;
};
