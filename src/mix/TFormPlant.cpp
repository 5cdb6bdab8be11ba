#include "mix/TFormPlant.h"

#include "controls/TComboBox.h"
#include "foundation/TPrompt.h"
#include "foundation/gui/Ime.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/WindowPlacement.h"
#include "help/THelp.h"
#include "mix/ShiftJis.h"
#include "mix/TPlant.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

const QStringList kHeadings = {QStringLiteral("計量順"), QStringLiteral("ビン名"),
                               QStringLiteral("粒度範囲")};
const QStringList kRowLabels = {QStringLiteral("  １"), QStringLiteral("  ２"),
                                QStringLiteral("  ３"), QStringLiteral("  ４"),
                                QStringLiteral("  ５"), QStringLiteral("  ６")};

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* Label(QWidget* parent, const QString& caption, int x, int y, int width)
{
    auto* label = new QLabel(caption, parent);
    label->setGeometry(x, y, width, 20);
    return label;
}

QString CellText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

void SetCell(QTableWidget* grid, int row, int column, const QString& text)
{
    QTableWidgetItem* item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    item->setText(text);
}

} // namespace

TFormPlant::TFormPlant(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("FormPlant"));
    setWindowTitle(QStringLiteral("プラントの登録"));
    THelp::AddKey(this, QStringLiteral("plant"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(434, 262);

    MainMenu1 = Named(new QMenuBar(this), "MainMenu1");
    MainMenu1->setGeometry(0, 0, 434, 22);
    QMenu* file = MainMenu1->addMenu(QStringLiteral("ファイル"));
    file->setObjectName(QStringLiteral("mnuFile"));
    const auto addItem = [&](const char* name, const QString& caption, auto handler) {
        QAction* action = file->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        Connect(action, &QAction::triggered, this, handler);
    };
    addItem("mnuNew", QStringLiteral("新規"), &TFormPlant::mnuNewClick);
    addItem("mnuDelete", QStringLiteral("プラント削除"), &TFormPlant::mnuDeleteClick);
    addItem("mnuSave", QStringLiteral("プラント登録"), &TFormPlant::mnuSaveClick);
    file->addSeparator();
    addItem("mnuExit", QStringLiteral("終了"), &TFormPlant::mnuExitClick);

    Label(this, QStringLiteral("プラント名"), 12, 34, 70);
    ComboBox1 = Named(new TComboBox(this), "ComboBox1");
    Connect(ComboBox1, &TComboBox::DropDown, this, &TFormPlant::ComboBox1DropDown);
    ComboBox1->setGeometry(96, 32, 190, 22);
    ImeHiragana(ComboBox1);

    CheckBox1 = Named(new QCheckBox(QStringLiteral("標準のプラントにする"), this), "CheckBox1");
    CheckBox1->setGeometry(296, 33, 134, 20);

    Label(this, QStringLiteral("バッチの計量値"), 12, 66, 84);
    Edit1 = Named(new QLineEdit(this), "Edit1");
    Edit1->setGeometry(96, 64, 80, 22);
    ImeOff(Edit1);
    Label(this, QStringLiteral("Kg"), 180, 66, 20);

    Label(this, QStringLiteral("力計の係数"), 12, 96, 84);
    Edit2 = Named(new QLineEdit(this), "Edit2");
    Edit2->setGeometry(96, 94, 80, 22);
    ImeOff(Edit2);

    RadioGroup1 = Named(new QGroupBox(QStringLiteral("初期計量"), this), "RadioGroup1");
    RadioGroup1->setGeometry(12, 128, 190, 48);
    m_initialWeighing = new QButtonGroup(this);
    const QStringList items = {QStringLiteral("細骨計量"), QStringLiteral("粗骨計量")};
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], RadioGroup1);
        button->setGeometry(10 + i * 90, 20, 84, 20);
        m_initialWeighing->addButton(button, i);
    }

    StringGrid1 = Named(new QTableWidget(1 + TPlantRecord::Bins, 3, this), "StringGrid1");
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
        QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    for (int column = 0; column < 3; ++column)
        StringGrid1->setColumnWidth(column, 65);
    for (int row = 0; row <= TPlantRecord::Bins; ++row)
        StringGrid1->setRowHeight(row, 17);
    StringGrid1->setGeometry(216, 64, 3 * 65 + 2 * StringGrid1->frameWidth(),
                             (1 + TPlantRecord::Bins) * 17 + 2 * StringGrid1->frameWidth());
    StringGrid1->installEventFilter(this);
    StringGrid1->viewport()->installEventFilter(this);

    Button1 = Named(new QPushButton(QStringLiteral("登録"), this), "Button1");
    Button1->setGeometry(340, 224, 82, 28);
    // Enter in a field must not save a half-typed plant (as the standard one).
    Button1->setAutoDefault(false);

    Connect(ComboBox1, &QComboBox::activated, this, &TFormPlant::ComboBox1Select);
    Connect(Button1, &QPushButton::clicked, this, &TFormPlant::Button1Click);

    m_plant = new TPlant(this);
    ClearWindow();
    m_plant->Clear();

    CentreOnScreen(this);
}

void TFormPlant::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        TApplication::Guard([this] { FormShow(); });
}

bool TFormPlant::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == StringGrid1 && event->type() == QEvent::FocusIn) {
        TApplication::Guard([this] { StringGrid1Enter(); });
    } else if (watched == StringGrid1->viewport() && event->type() == QEvent::ChildAdded) {
        // Cell editors are made on demand; each one takes the grid's input mode.
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType())
            ImeOff(static_cast<QWidget*>(child));
    }
    return QDialog::eventFilter(watched, event);
}

void TFormPlant::ClearWindow()
{
    ComboBox1->setEditText(QString());
    Edit1->clear();
    Edit2->clear();
    m_initialWeighing->button(0)->setChecked(true);
    CheckBox1->setChecked(true);
    // Headings and row labels are fixed, as in a grid's fixed row and column.
    const QBrush fixed = palette().button();
    StringGrid1->clearContents();
    for (int row = 0; row <= TPlantRecord::Bins; ++row) {
        for (int column = 0; column < kHeadings.size(); ++column) {
            auto* item = new QTableWidgetItem;
            if (row == 0 || column == 0) {
                item->setText(row == 0 ? kHeadings[column] : kRowLabels[row - 1]);
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(fixed);
            }
            StringGrid1->setItem(row, column, item);
        }
    }
}

void TFormPlant::ShowRecord()
{
    ComboBox1->setEditText(m_plant->Name.trimmed());
    Edit1->setText(m_plant->BatchWeight.trimmed());
    Edit2->setText(m_plant->LoadCellFactor.trimmed());
    if (QAbstractButton* button = m_initialWeighing->button(m_plant->InitialWeighing)) {
        button->setChecked(true);
    } else {
        // A value this window does not know is shown as no choice.
        m_initialWeighing->setExclusive(false);
        for (QAbstractButton* each : m_initialWeighing->buttons())
            each->setChecked(false);
        m_initialWeighing->setExclusive(true);
    }
    CheckBox1->setChecked(m_plant->Standard != 0);
    for (int i = 0; i < TPlantRecord::Bins; ++i) {
        SetCell(StringGrid1, i + 1, 1, m_plant->BinName[i].trimmed());
        SetCell(StringGrid1, i + 1, 2, m_plant->BinRange[i].trimmed());
    }
}

bool TFormPlant::TakeRecord()
{
    // A cell still being edited (say, when the menu is used) keeps its text.
    if (QWidget* focus = QApplication::focusWidget(); focus && StringGrid1->isAncestorOf(focus))
        StringGrid1->setFocus();

    struct TField
    {
        QString caption;
        QString text;
    };
    std::vector<TField> fields = {{QStringLiteral("プラント名"), ComboBox1->currentText()},
                                  {QStringLiteral("バッチの計量値"), Edit1->text()},
                                  {QStringLiteral("力計の係数"), Edit2->text()}};
    for (int i = 0; i < TPlantRecord::Bins; ++i) {
        const QString bin = QStringLiteral("計量順") + kRowLabels[i].trimmed();
        fields.push_back({bin + QStringLiteral("のビン名"), CellText(StringGrid1, i + 1, 1)});
        fields.push_back({bin + QStringLiteral("の粒度範囲"), CellText(StringGrid1, i + 1, 2)});
    }
    // Checked before anything is taken: the record and the file stay as they
    // were, the window keeps what was typed.
    for (const TField& field : fields) {
        if (const QString character = UnwritableCharacter(field.text); !character.isEmpty()) {
            TPrompt::Beep();
            TPrompt::Message(UnwritableMessage(character, field.caption));
            return false;
        }
    }

    // The name is checked by Save, which refuses one that does not fit (it is
    // the key); the other texts are cut to what their fields hold.
    m_plant->Name = fields[0].text;
    m_plant->BatchWeight = FitShiftJis(fields[1].text, TPlantRecord::ValueBytes);
    m_plant->LoadCellFactor = FitShiftJis(fields[2].text, TPlantRecord::ValueBytes);
    if (m_initialWeighing->checkedId() >= 0)
        m_plant->InitialWeighing = m_initialWeighing->checkedId();
    m_plant->Standard = CheckBox1->isChecked() ? 1 : 0;
    for (int i = 0; i < TPlantRecord::Bins; ++i) {
        m_plant->BinName[i] = FitShiftJis(fields[3 + 2 * i].text, TPlantRecord::BinBytes);
        m_plant->BinRange[i] = FitShiftJis(fields[4 + 2 * i].text, TPlantRecord::BinBytes);
    }
    return true;
}

bool TFormPlant::SaveWindow()
{
    // A blank name would be a plant that no list shows, and could become the
    // standard plant unseen.
    if (ComboBox1->currentText().trimmed().isEmpty()) {
        TPrompt::Beep();
        TPrompt::Message(QStringLiteral("プラント名を入力してください。"));
        return false;
    }
    // A refused save (a name too long for Plant.Dat among the reasons) keeps the window open with
    // what the user typed.
    return TakeRecord() && m_plant->Save(ComboBox1->currentText());
}

void TFormPlant::FormShow()
{
    m_plant->LoadStandard();
    ShowRecord();
}

void TFormPlant::ComboBox1DropDown()
{
    QStringList names;
    m_plant->FillList(names);
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
    ComboBox1->SetItems(names);
}

void TFormPlant::ComboBox1Select()
{
    m_plant->LoadByName(ComboBox1->currentText());
    ShowRecord();
}

void TFormPlant::StringGrid1Enter()
{
    ImeOff(StringGrid1);
}

void TFormPlant::Button1Click()
{
    if (SaveWindow())
        accept();
}

void TFormPlant::mnuNewClick()
{
    ClearWindow();
    m_plant->Clear();
}

void TFormPlant::mnuDeleteClick()
{
    m_plant->Delete(ComboBox1->currentText());
}

void TFormPlant::mnuSaveClick()
{
    SaveWindow();
}

void TFormPlant::mnuExitClick()
{
    reject();
}
