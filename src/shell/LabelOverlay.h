#pragma once

#include "shell/SubtitlePresenter.h"

#include <QPointer>

class QLabel;

// A plain overlay: a frameless tool window of outlined text over the lower part of the video
// area. It stands until the colour-keyed overlay window replaces it.
class LabelOverlay : public SubtitlePresenter {
public:
    explicit LabelOverlay(QWidget* videoArea) : videoArea_(videoArea) {}
    ~LabelOverlay() override;

    bool ShowSubtitle(const SubtitlePtr& entry, double positionSeconds) override;
    void Hide() override;
    void ReleaseSurface() override {}
    void Unload() override;
    QWidget* Window() override;

private:
    QPointer<QWidget> videoArea_;
    QPointer<QLabel> label_;
};
