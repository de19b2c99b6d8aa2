#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <memory>
#include <utility>

#include "app/DeviceContext.h"
#include "app/WindowState.h"
#include "session/SessionOutcome.h"
#include "settings/MouseSettings.h"

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QTabWidget;

namespace lark {

class ButtonMappingPage;
class BasicSettingsPage;
class AdvancedSettingsPage;
class HotplugSource;
class SessionRunner;
class SettingsModel;
struct SettingsReport;

// The tool's one window: versions, the three pages under their tabs, Factory Reset and APPLY.
class MainWindow : public QDialog {
    Q_OBJECT

public:
    MainWindow(SettingsModel& model, DeviceContext device, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence: notifications, pages and defaults; the session finds and reads
    // the mouse on its own thread (asked to start here unless it already was) and the pages
    // fill when its settings arrive.
    void initialize();

    void setControlsEnabled(bool enabled);
    // Fits the window into the free area of its screen (the pages scroll when it must be
    // smaller than its layout), then centres it there.
    void centerOnScreen();

    // What the status line says for each state, in the window's language.
    static QString statusText(StatusMessage message);

    BasicSettingsPage* basicPage() const { return basicPage_; }
    AdvancedSettingsPage* advancedPage() const { return advancedPage_; }
    ButtonMappingPage* mappingPage() const { return mappingPage_; }
    QPushButton* applyButton() const { return applyButton_; }
    QPushButton* factoryResetButton() const { return factoryResetButton_; }
    QTabWidget* tabs() const { return tabs_; }
    QLabel* firmwareLabel() const { return firmwareLabel_; }
    QLabel* statusLabel() const { return statusLabel_; }
    QAction* saveProfileAction() const { return saveProfileAction_; }
    QAction* loadProfileAction() const { return loadProfileAction_; }
    QAction* aboutAction() const { return aboutAction_; }
    // The scroll area that holds a page inside its tab.
    QScrollArea* pageArea(QWidget* page) const;

    bool isBusy() const { return state_.busy(); }

public slots:
    void apply();
    // Ctrl+S: what a click on APPLY does, only while APPLY is enabled.
    void applyFromKeyboard();
    // F5 and the context menu: reads the mouse's settings again, after asking when that would
    // discard edits not yet applied.
    void readAgain();
    void factoryReset();
    void onMouseEvent(int code, int value);
    // Ctrl+Shift+S and the context menu: the pages as a profile file, in larkctl's format.
    void saveProfile();
    // Ctrl+O and the context menu: a profile file onto the pages, as edits for APPLY.
    void loadProfile();
    // The same without asking for the file. False when nothing was written or loaded; a bad
    // profile is named in a warning with larkctl's words and changes nothing.
    bool saveProfileTo(const QString& path);
    bool loadProfileFrom(const QString& path);
    void showAbout();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildPages();
    // The tabs grow and shrink with the window's height below its layout's; APPLY and the status
    // line stay at the bottom. At the layout's own height everything is where the layout says.
    void placeForHeight(int height);
    QString profileDirectory() const;
    void refreshPages();
    bool isInsidePage(const QWidget* widget) const;
    void connectSession();
    void onBusyChanged(bool busy, SessionOperation operation);
    void onConnectedChanged(bool connected);
    void onSettingsReported(const SettingsReport& report);
    void onOutsideWrite();
    void onOutcome(SessionOperation operation, SessionOutcome outcome);
    // The buttons and the status line as the state says.
    void showState();

    SettingsModel& model_;
    DeviceContext device_;

    QGroupBox* infoGroup_ = nullptr;
    QLabel* firmwareLabel_ = nullptr;
    QLabel* softwareLabel_ = nullptr;
    QPushButton* factoryResetButton_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QAction* readAgainAction_ = nullptr;
    QAction* applyAction_ = nullptr;
    QAction* saveProfileAction_ = nullptr;
    QAction* loadProfileAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    // Where the last profile was saved or loaded from, for the next file dialog.
    QString lastProfilePath_;
    QSize layoutSize_;
    BasicSettingsPage* basicPage_ = nullptr;
    AdvancedSettingsPage* advancedPage_ = nullptr;
    ButtonMappingPage* mappingPage_ = nullptr;

    WindowState state_;
    // The edits when the last re-read after an outside write was asked for, while one runs.
    MouseSettings editsAtReread_;
    int rereadsKeepingEdits_ = 0;
    bool dragging_ = false;
    QPoint dragOffset_;
};

}  // namespace lark
