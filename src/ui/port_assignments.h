#pragma once
#include <QDialog>
#include <cstdint>
#include <vector>

#include "lang/language_tables.h"
#include "link/port_description.h"
#include "link/port_map.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace zevo {

// Ignition > Port assignments…: the serial ports present with what identifies them, and the pins of
// COM numbers to ports (or to typed paths: a pseudo-terminal, a Bluetooth rfcomm device) that the
// section [PORTS] of the settings file keeps. A pin to a by-id name follows the adapter into
// another USB socket. A path that is not a device, or that the settings file could not give back
// exactly, is refused with a word under the fields.
class TFormPorts : public QDialog {
    Q_OBJECT
public:
    TFormPorts(const std::vector<PortDescription>& ports, const PortPins& pins, std::uint8_t language,
               QWidget* parent = nullptr);

    PortPins Pins() const { return Current; }

    QTableWidget* TablePorts = nullptr;
    QComboBox* ComboNumber = nullptr; // COM1..COM20
    QComboBox* EditPath = nullptr;    // editable: the present ports' stable names and devices
    QPushButton* ButtonPin = nullptr;
    QPushButton* ButtonUnpin = nullptr;
    QTableWidget* TablePins = nullptr;
    QLabel* LabelProblem = nullptr;

private:
    void PortChosen(int row);
    void PinClick();
    void UnpinClick();
    void ShowPins();
    QString Text(PortTextId id) const;

    std::vector<PortDescription> Ports;
    PortPins Current;
    std::uint8_t Language;
};

// Whether `path` names a device (a character device, a pseudo-terminal, a Bluetooth serial port),
// not a file or a folder.
bool IsDevicePath(const QString& path);

} // namespace zevo
