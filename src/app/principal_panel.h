#pragma once
// The controls of the main window's ten curve tabs, one array per control,
// element i on tab i (curve i + 1). Each control's objectName is the array's
// name and the index, as "MSFdata_3".

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class textextend;
namespace platform
{
class FlexGrid;
class ImageCombo;
class UpDown;
} // namespace platform

constexpr int numpestanas = 10;

template <typename T> using ArrayPestanas = std::array<T *, numpestanas>;

struct ControlesCurvas {
    ArrayPestanas<textextend> TXTlg{};
    ArrayPestanas<QLabel> LBLx{};
    ArrayPestanas<textextend> TXTx{};
    ArrayPestanas<QLabel> LBLy{};
    ArrayPestanas<textextend> TXTy{};
    ArrayPestanas<QLabel> LBLdata{};
    ArrayPestanas<platform::FlexGrid> MSFdata{};
    ArrayPestanas<textextend> TXTflex{};
    ArrayPestanas<QPushButton> BTadd{};
    ArrayPestanas<QPushButton> BTdelete{};
    ArrayPestanas<QPushButton> BTexcel{};
    ArrayPestanas<QPushButton> BTimport{};
    ArrayPestanas<QComboBox> CMBlimitador{};
    ArrayPestanas<QLabel> LBLpuntos{};
    ArrayPestanas<QRadioButton> OPTsi{};
    ArrayPestanas<QRadioButton> OPTno{};
    ArrayPestanas<QLabel> LBLunir{};
    ArrayPestanas<QComboBox> CMBunir{};
    ArrayPestanas<QLabel> LBLgrado{};
    ArrayPestanas<QLineEdit> TXTgrado{};
    ArrayPestanas<platform::UpDown> UPDgrado{};
    ArrayPestanas<QLabel> LBLgrosor{};
    ArrayPestanas<QLineEdit> TXTgrosor{};
    ArrayPestanas<platform::UpDown> UPDgrosor{};
    ArrayPestanas<QLabel> LBLtipo{};
    ArrayPestanas<QComboBox> CMBtipo{};
    ArrayPestanas<QLabel> LBLcolor{};
    ArrayPestanas<platform::ImageCombo> CMBcolor{};
};
