// The progress panel as the window uses it: setters in the run's words, a Cancel signal, and
// its own children behind them under the object names the skin styles.

#include "app/ProgressPanel.h"
#include "support/QtPrinters.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vidora;

TEST(ProgressPanel, ShowsWhatItIsToldAndAsksForCancel) {
    QWidget window;
    ProgressPanel panel(&window);
    panel.setTotalPercent(33);
    panel.setJobPercent(102);
    panel.setJobCaption(QStringLiteral("Progress..../in/a.avi To /out/a.mp4"));
    panel.setElapsedText(QStringLiteral("0:00:05"));
    panel.setTimeLeftText(QStringLiteral("0:00:43 (all jobs 0:01:43)"));

    EXPECT_EQ(panel.totalPercent(), 33);
    EXPECT_EQ(panel.jobPercent(), 102);
    EXPECT_EQ(panel.findChild<QProgressBar*>(QStringLiteral("prgTotalProgress"))->text(),
              QStringLiteral("33%"));
    EXPECT_EQ(panel.findChild<QProgressBar*>(QStringLiteral("prgTrackProgress"))->text(),
              QStringLiteral("102%"));
    EXPECT_EQ(panel.findChild<QGroupBox*>(QStringLiteral("Frame14"))->title(),
              QStringLiteral("Progress..../in/a.avi To /out/a.mp4"));
    EXPECT_EQ(panel.findChild<QLabel*>(QStringLiteral("SkinLabel2"))->text(),
              QStringLiteral("0:00:05"));
    EXPECT_EQ(panel.findChild<QLabel*>(QStringLiteral("TimeLeft"))->text(),
              QStringLiteral("0:00:43 (all jobs 0:01:43)"));
    EXPECT_TRUE(panel.findChild<QLabel*>(QStringLiteral("TimeLeftCaption"))->isEnabled());

    // No estimate: the line stays, blank and greyed.
    panel.setTimeLeftText(QString());
    EXPECT_EQ(panel.timeLeftText(), QString());
    EXPECT_FALSE(panel.findChild<QLabel*>(QStringLiteral("TimeLeftCaption"))->isEnabled());

    QSignalSpy cancel(&panel, &ProgressPanel::cancelRequested);
    panel.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(cancel.count(), 1);
}
