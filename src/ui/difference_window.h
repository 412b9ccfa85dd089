#pragma once
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

#include "files/set_difference.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace zevo {

// The set on screen against another one (the unit's, a file's, a restore point's), field by field,
// in the window's words. It decides nothing: "take theirs" hands the chosen fields to the owner,
// which takes them as one change.
class DifferenceWindow : public QWidget {
    Q_OBJECT
public:
    explicit DifferenceWindow(QWidget* owner);

    // `what` names the other side in the title ("the unit", a file's name).
    void Show(const DeviceImage& here, const DeviceImage& there, const QString& what, std::uint8_t language);
    const std::vector<SetDifference>& Differences() const { return Listed; }
    std::function<void(const std::vector<SetDifference>&)> TakeTheirs;
    std::function<void()> Closed;

    QListWidget* List = nullptr;
    QLabel* Count = nullptr;
    QPushButton* TakeAll = nullptr;
    QPushButton* TakeSelected = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Take(bool all);
    std::vector<SetDifference> Listed;
};

} // namespace zevo
