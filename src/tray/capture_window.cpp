#include "tray/capture_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "store/card_text.h"
#include "store/codec.h"
#include "ui/dialog_builder.h"
#include "ui/screen_fit.h"
#include "ui/text_drag_edit.h"

namespace quillet {
namespace {

QString Display(const std::string& stored) { return QString::fromStdString(ToUtf8(stored)); }
std::string Stored(const QString& text) { return ToStoredText(text.toStdString()); }
std::string FromEditor(const CTextDragEdit* edit) {
    QString text = edit->Text();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return Stored(text);
}

}  // namespace

std::function<void(QDialog&)>& CaptureWindow::RestoreWindowRunner() {
    static std::function<void(QDialog&)> runner = [](QDialog& dialog) { dialog.exec(); };
    return runner;
}

CaptureWindow::CaptureWindow(Kind kind, CardStore& store, AppSettings& settings, Prompter& prompter, DataBar& dataBar,
                             QWidget& mainWindow, int initialCategory)
    : DynamicBarDialog(kind == Kind::Cards ? res::kCardCaptureDialog : res::kSiteCaptureDialog, nullptr),
      m_kind(kind),
      m_store(store),
      m_settings(settings),
      m_prompter(prompter),
      m_dataBar(dataBar),
      m_mainWindow(&mainWindow),
      m_categories(Control<QComboBox>(*this, res::kCaptureCategories)),
      m_name(Control<CTextDragEdit>(*this, res::kCaptureName)),
      m_second(Control<CTextDragEdit>(*this, res::kCaptureSecond)) {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowIcon(QIcon(QStringLiteral(":/images/quillet.svg")));
    m_name->Register(CTextDragEdit::kDragOut | CTextDragEdit::kDropIn);
    m_second->Register(CTextDragEdit::kDragOut | CTextDragEdit::kDropIn);

    DynamicWnd& engine = Engine();
    engine.AddSzControl(m_categories, SizeMode::Resize, SizeMode::None, false);
    engine.AddSzControl(m_name, SizeMode::Resize, SizeMode::None, false);
    engine.AddSzControl(FindControl(*this, res::kCaptureNameFrame), SizeMode::Resize, SizeMode::None, false);
    engine.AddSzControl(FindControl(*this, res::kCaptureCategoryFrame), SizeMode::Resize, SizeMode::None, false);
    if (kind == Kind::Cards) {
        engine.AddSzControl(m_second, SizeMode::Resize, SizeMode::Resize, false);
        engine.AddSzControl(FindControl(*this, res::kCaptureSecondFrame), SizeMode::Resize, SizeMode::Resize, false);
    } else {
        m_description = Control<CTextDragEdit>(*this, res::kCaptureDescription);
        m_description->Register(CTextDragEdit::kDragOut | CTextDragEdit::kDropIn);
        engine.AddSzControl(m_second, SizeMode::Resize, SizeMode::None, false);
        engine.AddSzControl(FindControl(*this, res::kCaptureSecondFrame), SizeMode::Resize, SizeMode::None, false);
        engine.AddSzControl(m_description, SizeMode::Resize, SizeMode::Resize, false);
        engine.AddSzControl(FindControl(*this, res::kCaptureDescriptionFrame), SizeMode::Resize, SizeMode::Resize,
                            false);
    }
    for (const int button : {res::kIdOk, res::kIdCancel, res::kCaptureShrink, res::kCaptureHideMain}) {
        engine.AddSzControl(FindControl(*this, button), SizeMode::None, SizeMode::Move, false);
    }
    InitializeLayout();
    for (const int frame : {res::kCaptureNameFrame, res::kCaptureSecondFrame, res::kCaptureDescriptionFrame,
                            res::kCaptureCategoryFrame}) {
        if (QWidget* box = FindControl(*this, frame)) {
            box->installEventFilter(this);
        }
    }
    UpdateTitle();

    // Placement: centred on the main window the first time, else where it was last left.
    if (m_store.flags.noSavedState) {
        move(mainWindow.geometry().center() - rect().center());
    } else {
        const WindowPlace& place = Place();
        move(place.left, place.top);
        resize(QSize(place.width, place.height).expandedTo(minimumSize()));
    }
    // Wherever that is, the window is used whole on a screen that exists.
    FitOnScreen(*this);

    m_dataBar.ReloadLibrary();
    FollowMainWindow();
    m_categories->setCurrentIndex(initialCategory);
    connect(&m_dataBar, &DataBar::libraryChanged, this, &CaptureWindow::FollowMainWindow);
    connect(&m_dataBar, &DataBar::categoryOpened, this, &CaptureWindow::FollowMainWindow);
    connect(m_categories, qOverload<int>(&QComboBox::activated), this, &CaptureWindow::OnCategoryChosen);
    connect(Control<QPushButton>(*this, res::kCaptureShrink), &QPushButton::clicked, this, &CaptureWindow::Shrink);
    connect(Control<QPushButton>(*this, res::kCaptureHideMain), &QPushButton::clicked, this,
            &CaptureWindow::ToggleMainWindow);
    m_name->setFocus();
}

WindowPlace& CaptureWindow::Place() { return m_kind == Kind::Cards ? m_settings.cardCapture : m_settings.siteCapture; }

void CaptureWindow::UpdateTitle() {
    if (!IsOurLibrary()) {
        setWindowTitle(m_kind == Kind::Cards ? QStringLiteral("主窗口现在是“网络资源”，这里不能加入知识卡片")
                                             : QStringLiteral("主窗口现在不是“网络资源”，这里不能加入站点"));
        return;
    }
    const QString category = Display(m_store.libraryStates[m_store.currentLibrary].categoryName);
    setWindowTitle(m_kind == Kind::Cards ? QStringLiteral("在“%1”中加入新知识卡片：").arg(category)
                                         : QStringLiteral("“%1”中加入新站点：").arg(category));
}

bool CaptureWindow::IsOurLibrary() const {
    return m_kind == Kind::Sites ? m_store.currentLibrary == kWebLibrary
                                 : IsLibrary(m_store.currentLibrary) && m_store.currentLibrary != kWebLibrary;
}

void CaptureWindow::FollowMainWindow() {
    m_categories->clear();
    m_library = m_store.currentLibrary;
    m_file = m_store.Open().file;
    if (IsOurLibrary()) {
        for (int i = 0; i < m_dataBar.CategoryCount(); ++i) {
            m_categories->addItem(Display(m_dataBar.CategoryAt(i)), QByteArray::fromStdString(m_dataBar.CategoryAt(i)));
        }
        m_categories->setCurrentIndex(m_dataBar.SelectedCategory().value_or(-1));
    }
    UpdateTitle();
}

bool CaptureWindow::ShowsTheOpenCategory() {
    if (!IsOurLibrary()) {
        m_prompter.Notice(m_kind == Kind::Cards ? "主窗口现在是“网络资源”，这里不能加入卡片。卡片没有加入。"
                                                : "主窗口现在不是“网络资源”，这里不能加入站点。站点没有加入。");
        FollowMainWindow();
        return false;
    }
    if (!m_store.Open().IsOpen()) {
        m_prompter.Notice("没有打开的类别，请先在列表中选择一个类别。卡片没有加入。");
        FollowMainWindow();
        return false;
    }
    if (m_store.currentLibrary != m_library || m_store.Open().file != m_file) {
        FollowMainWindow();
        m_prompter.Notice("主窗口已经换了类别，本窗口也已经改为“" +
                          ToUtf8(m_store.libraryStates[m_store.currentLibrary].categoryName) + "”。请确认后再加入。");
        return false;
    }
    return true;
}

void CaptureWindow::ClearFields() {
    m_name->SetText({});
    m_second->SetText({});
    if (m_description) {
        m_description->SetText({});
    }
}

CardRecord CaptureWindow::TypedRecord() const {
    if (m_kind == Kind::Sites) {
        return {Stored(m_name->Text()), FromEditor(m_description), Stored(m_second->Text())};
    }
    const std::string name = Stored(m_name->Text());
    const std::string& category = m_store.libraryStates[m_store.currentLibrary].categoryName;
    const std::string text =
        ToStoredText("++ ") + category + "\r\n" + ToStoredText("++ ") + name + "\r\n\r\n" + FromEditor(m_second);
    return {name, text, ""};
}

bool CaptureWindow::AddCard() {
    if (!ShowsTheOpenCategory()) {
        return false;
    }
    const CardRecord record = TypedRecord();
    if (record.name.empty() || record.name == " ") {
        m_prompter.Notice(m_kind == Kind::Cards ? "请输入卡片名！" : "卡片名不能为空！");
        return false;
    }
    LibraryState& row = m_store.libraryStates[m_store.currentLibrary];
    StoreError readError;
    switch (m_store.CheckCardName(record.name, &readError)) {
        case CardNameCheck::Taken:
            m_prompter.Notice("卡片名已经存在，不能重复加入！", "双击空白处清空：");
            return false;
        case CardNameCheck::Unreadable:
            // Not the duplicate text: the user should know the category could not be read.
            m_prompter.Notice(readError.Message() + "\n卡片没有加入。");
            return false;
        case CardNameCheck::Free:
            break;
    }
    CardTable cards = m_store.openTable;
    cards.Append(record);
    if (StoreError error = m_store.WriteOpenCategory(m_store.Open().storedName, cards)) {
        m_prompter.Notice(error.Message() + "\n卡片没有加入。");
        return false;
    }
    m_store.currentCard = record;
    m_dataBar.AddCardItemAndSelect(record.name);
    m_dataBar.SetEditorText(quillet::EditorText(m_store.currentLibrary, record));
    m_store.selectedCardName = record.name;
    row.cardName = record.name;
    return true;
}

void CaptureWindow::accept() {
    if (AddCard()) {
        ClearFields();
        // Ready for the next card.
        m_name->setFocus();
    }
}

void CaptureWindow::reject() {
    // A close request comes back here through the dialog's close handling: act once.
    if (m_closing) {
        return;
    }
    m_closing = true;
    // The window is gone, but its place is kept for the next time.
    const QRect frame = FittedInto(frameGeometry(), AvailableAreaFor(frameGeometry()));
    Place() = {frame.left(), frame.top(), width(), height()};
    if (m_mainWindow) {
        m_mainWindow->show();
        m_mainWindow->update();
    }
    m_store.flags.captureWindowOpen = false;
    emit closed();
    QDialog::reject();
    deleteLater();
}

void CaptureWindow::OnCategoryChosen(int index) {
    if (!IsOurLibrary() || index < 0) {
        return;
    }
    m_dataBar.OpenCategoryAt(index);
    FollowMainWindow();
}

void CaptureWindow::ToggleMainWindow() {
    if (m_mainWindow) {
        m_mainWindow->setVisible(!m_mainShown);
    }
    m_mainShown = !m_mainShown;
    SetButtonCaption(*Control<QPushButton>(*this, res::kCaptureHideMain),
                     m_mainShown ? QStringLiteral("隐藏主窗口") : QStringLiteral("显示主窗口"));
}

void CaptureWindow::Shrink() {
    if (m_mainShown) {
        ToggleMainWindow();
    }
    hide();
    QDialog restore(nullptr, Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    BuildDialog(restore, *res::FindDialogTemplate(res::kRestoreDialog));
    restore.setFixedSize(restore.size());
    restore.setProperty("mark", m_kind == Kind::Cards ? 1 : 2);
    // The saved place of this window: where it was last left, not where it stands now.
    restore.move(Place().left, Place().top);
    connect(Control<QPushButton>(restore, res::kCaptureRestore), &QPushButton::clicked, &restore, &QDialog::accept);
    RestoreWindowRunner()(restore);
    show();
    raise();
}

void CaptureWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    ClearFields();
    event->accept();
}

bool CaptureWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && qobject_cast<QGroupBox*>(watched)) {
        ClearFields();
    }
    return DynamicBarDialog::eventFilter(watched, event);
}

void InstallCaptureWindows(CMainFrame& frame, CardStore& store, AppSettings& settings, Prompter& prompter) {
    frame.SetCaptureOpener([&frame, &store, &settings, &prompter](int library, int categoryIndex) {
        const auto kind = library == kWebLibrary ? CaptureWindow::Kind::Sites : CaptureWindow::Kind::Cards;
        auto* window = new CaptureWindow(kind, store, settings, prompter, frame.Bar(), frame, categoryIndex);
        window->show();
        return true;
    });
}

}  // namespace quillet
