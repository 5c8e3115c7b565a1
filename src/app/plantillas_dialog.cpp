#include "app/plantillas_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>

#include "app/draw3d.h"

namespace enlacor {
namespace {

const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kSkyBlue(0xA6, 0xCA, 0xF0);
// Qt has no role for the colour of an inactive title bar: this is the
// Windows default for it.
const QColor kInactiveCaption(0xBF, 0xCD, 0xDB);
constexpr int kItemHeight = 13;

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

QFont ArialFont(int pixels, bool italic = false, bool underline = false) {
  QFont font("Arial");
  font.setPixelSize(pixels);
  font.setBold(true);
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

// A transparent label on the gradient panel.
QLabel* MakeLabel(QWidget* panel, const char* name, const QRect& geometry, const QString& text,
                  const QFont& font, const QColor& color, bool word_wrap) {
  auto* label = new QLabel(text, panel);
  label->setObjectName(name);
  label->setGeometry(geometry);
  label->setFont(font);
  label->setWordWrap(word_wrap);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
  return label;
}

// List rows of a fixed height.
class FixedHeightDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
  }
};

QListWidget* MakeListBox(QWidget* panel, const char* name, const QRect& geometry,
                         QAbstractItemView::SelectionMode mode) {
  auto* list = new QListWidget(panel);
  list->setObjectName(name);
  list->setGeometry(geometry);
  list->setSelectionMode(mode);
  list->setItemDelegate(new FixedHeightDelegate(list));
  return list;
}

void ReplaceItems(QListWidget* list, const std::vector<std::string>& items) {
  list->clear();
  for (const std::string& item : items) list->addItem(FromUtf8(item));
}

// The program's plain message: caption "Enlacor", one OK button.
void ShowMessage(QWidget* parent, const std::string& text) {
  QString shown = FromUtf8(text);
  shown.replace("\r\n", "\n");
  QMessageBox box(QMessageBox::NoIcon, "Enlacor", shown, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

TPlantillas::TPlantillas(const std::filesystem::path& xml_file_name, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      logic_(xml_file_name) {
  setObjectName("Plantillas");
  setWindowTitle("Planillas, Marcos o Jornadas Horarias");
  QFont font("MS Sans Serif");
  font.setPixelSize(11);
  setFont(font);
  // The client area that the gradient panel covers; with the title bar and
  // a sizeable border the window measures about 386 x 321.
  resize(369, 281);
  move(424, 285);
  BuildControls();
}

void TPlantillas::BuildControls() {
  Draw3D4 = new TDraw3D(kSkyBlue, Qt::white, kInactiveCaption, palette().color(QPalette::Button), this);
  Draw3D4->setObjectName("Draw3D4");
  Draw3D4->setGeometry(0, 0, 369, 281);

  LabelPlantillas = MakeLabel(
      Draw3D4, "LabelPlantillas", {16, 2, 321, 33},
      "Seleccione 1, o los 2 Marcos Horarios que quiere aplicar a su Horario en Horvana.",
      ArialFont(13), palette().color(QPalette::WindowText), true);
  LabelSelec = MakeLabel(Draw3D4, "LabelSelec", {16, 36, 321, 50},
                         "Para seleccionar mas de un Marco Horario, mantenga (Ctrl) pulsado y "
                         "seleccione cada marco con 1 click del botón izquierdo del ratón.",
                         ArialFont(13, true), kRed, true);
  LabelMarcos = MakeLabel(Draw3D4, "LabelMarcos", {40, 86, 74, 16}, "MARCOS", ArialFont(16), kMaroon, false);
  Label1 = MakeLabel(Draw3D4, "Label1", {215, 86, 67, 18}, "HORAS", ArialFont(16), kMaroon, false);

  ListBox2 = MakeListBox(Draw3D4, "ListBox2", {16, 103, 127, 45}, QAbstractItemView::ExtendedSelection);
  ListBox1 = MakeListBox(Draw3D4, "ListBox1", {152, 103, 193, 146}, QAbstractItemView::SingleSelection);

  LabelNombre = MakeLabel(Draw3D4, "LabelNombre", {9, 151, 120, 41}, "-", ArialFont(16, false, true),
                          kMaroon, true);
  LabelPlanFec1 = MakeLabel(Draw3D4, "LabelPlanFec1", {9, 196, 120, 23}, "-", ArialFont(16), kMaroon, false);
  LabelPlanFec2 = MakeLabel(Draw3D4, "LabelPlanFec2", {9, 226, 120, 23}, "-", ArialFont(16), kMaroon, false);

  ComboBoxPlantilla = new QComboBox(Draw3D4);
  ComboBoxPlantilla->setObjectName("ComboBoxPlantilla");
  ComboBoxPlantilla->setGeometry(150, 254, 81, 21);
  ComboBoxPlantilla->setStyleSheet("QComboBox { background-color: yellow; font-weight: bold; }");
  ComboBoxPlantilla->setVisible(false);

  BitBtnContinuar = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), "Continuar", Draw3D4);
  BitBtnContinuar->setObjectName("BitBtnContinuar");
  BitBtnContinuar->setGeometry(255, 253, 89, 25);
  QFont bold = BitBtnContinuar->font();
  bold.setBold(true);
  BitBtnContinuar->setFont(bold);
  BitBtnContinuar->setDefault(true);

  setTabOrder(BitBtnContinuar, ComboBoxPlantilla);
  setTabOrder(ComboBoxPlantilla, ListBox1);
  setTabOrder(ListBox1, ListBox2);

  connect(ListBox2, &QListWidget::currentRowChanged, this, [this] { ListBox2Click(); });
  connect(ListBox2, &QListWidget::itemClicked, this, [this] { ListBox2Click(); });
  connect(BitBtnContinuar, &QPushButton::clicked, this, [this] { close(); });
}

void TPlantillas::FormActivate() {
  if (closing_) return;
  try {
    logic_.FormActivate();
  } catch (...) {
    load_failure_ = std::current_exception();
    QMetaObject::invokeMethod(this, [this] { done(QDialog::Rejected); }, Qt::QueuedConnection);
    return;
  }
  {
    const QSignalBlocker blocker(ListBox2);
    ReplaceItems(ListBox2, logic_.FrameItems());
  }
  ComboBoxPlantilla->clear();
  for (const std::string& item : logic_.FrameItems()) ComboBoxPlantilla->addItem(FromUtf8(item));
  ComboBoxPlantilla->setCurrentIndex(ComboBoxPlantilla->count() > 0 ? 0 : -1);
  ShowCurrentFrame();
}

void TPlantillas::ListBox2Click() {
  const int item = ListBox2->currentRow();
  if (item < 0) return;
  logic_.ListBox2Click(static_cast<std::size_t>(item));
  ComboBoxPlantilla->setCurrentIndex(item);
  ShowCurrentFrame();
}

void TPlantillas::ShowCurrentFrame() {
  LabelNombre->setText(FromUtf8(logic_.LabelNombre()));
  LabelPlanFec1->setText(FromUtf8(logic_.LabelPlanFec1()));
  LabelPlanFec2->setText(FromUtf8(logic_.LabelPlanFec2()));
  ReplaceItems(ListBox1, logic_.PeriodLines());
}

bool TPlantillas::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QDialog::event(event);
}

void TPlantillas::showEvent(QShowEvent* event) {
  // The first activation comes with the first showing; running it here too
  // fills the dialog where the window system does not activate new windows.
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormActivate();
  BitBtnContinuar->setFocus();
}

void TPlantillas::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (Draw3D4) Draw3D4->setGeometry(rect());
}

void TPlantillas::done(int result) {
  if (closing_) return;
  closing_ = true;
  if (!load_failure_) {
    std::vector<bool> selected;
    for (int i = 0; i < ListBox2->count(); ++i) selected.push_back(ListBox2->item(i)->isSelected());
    if (const auto message = logic_.FormClose(selected)) ShowMessage(this, *message);
  }
  QDialog::done(result);
}

void TPlantillas::RethrowLoadFailure() const {
  if (load_failure_) std::rethrow_exception(load_failure_);
}

FrameDialogResult ShowFrameDialog(QWidget* owner, const std::filesystem::path& xml_file_name) {
  TPlantillas Plantillas(xml_file_name, owner);
  Plantillas.exec();
  Plantillas.RethrowLoadFailure();
  return {Plantillas.Accepted(), Plantillas.Selection()};
}

}  // namespace enlacor
