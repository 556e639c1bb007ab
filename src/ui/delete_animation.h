// The animation of the delete confirmation: a page of a log drops into a waste bin, played once.
#pragma once

#include <QVariantAnimation>
#include <QWidget>

namespace zelk::ui {

class TDeleteAnimation : public QWidget {
    Q_OBJECT
  public:
    explicit TDeleteAnimation(QWidget* parent = nullptr);

    void Play(int durationMs);
    void Stop();
    bool IsPlaying() const { return animation_.state() == QAbstractAnimation::Running; }
    QSize sizeHint() const override { return {220, 90}; }

  signals:
    void Finished();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QVariantAnimation animation_;
    double progress_ = 0;
};

} // namespace zelk::ui
