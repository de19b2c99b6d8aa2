#pragma once

#include <QDialog>
#include <QPoint>

#include <cstdint>
#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace lark {

class ButtonMappingPage;
class BasicSettingsPage;
class AdvancedSettingsPage;
class DeviceEventListener;
class DeviceLink;
class HidBackend;
class HotplugSource;
class SettingsModel;

// What the window needs from the device side; the real mouse and the virtual one differ only here.
struct DeviceContext {
    HidBackend& backend;
    DeviceLink& link;
    HotplugSource& hotplug;
};

// The tool's one window: versions, the three pages under their tabs, Factory Reset and APPLY.
class MainWindow : public QDialog {
    Q_OBJECT

public:
    MainWindow(SettingsModel& model, DeviceContext device, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence: notifications, defaults, find the mouse, read it, fill the pages.
    void initialize();

    void setControlsEnabled(bool enabled);
    void centerOnScreen();

    BasicSettingsPage* basicPage() const { return basicPage_; }
    AdvancedSettingsPage* advancedPage() const { return advancedPage_; }
    ButtonMappingPage* mappingPage() const { return mappingPage_; }
    QPushButton* applyButton() const { return applyButton_; }
    QPushButton* factoryResetButton() const { return factoryResetButton_; }
    QTabWidget* tabs() const { return tabs_; }
    QLabel* firmwareLabel() const { return firmwareLabel_; }
    QLabel* statusLabel() const { return statusLabel_; }

public slots:
    void apply();
    void factoryReset();
    void onDeviceArrived(const QString& path);
    void onDeviceRemoved(const QString& path);
    void onMouseEvent(int code, int value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildPages();
    void refreshPages();
    void setStatus(const QString& text);
    bool reconnect();
    void startListener();
    bool isInsidePage(const QWidget* widget) const;

    SettingsModel& model_;
    DeviceContext device_;
    std::unique_ptr<DeviceEventListener> listener_;

    QGroupBox* infoGroup_ = nullptr;
    QLabel* firmwareLabel_ = nullptr;
    QLabel* softwareLabel_ = nullptr;
    QPushButton* factoryResetButton_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    BasicSettingsPage* basicPage_ = nullptr;
    AdvancedSettingsPage* advancedPage_ = nullptr;
    ButtonMappingPage* mappingPage_ = nullptr;

    bool controlsEnabled_ = false;
    bool applyInProgress_ = false;
    bool dragging_ = false;
    QPoint dragOffset_;
};

}  // namespace lark
