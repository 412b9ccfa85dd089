#pragma once
#include <QString>

#include <cstdint>
#include <functional>

class QCustomPlot;
class QWidget;

namespace zevo {

class Prompter;

// Asks for a file name (offering `initialName`) and writes the chart there as PNG through a save
// file, so a failed write leaves an older picture of that name whole. Says where it went, or shows
// why not; returns that text (empty when the user cancelled).
QString SaveChartAsPng(QWidget* parent, QCustomPlot* chart, Prompter* prompts, const QString& initialName,
                       std::uint8_t language, const std::function<void(const QString&)>& say);

} // namespace zevo
