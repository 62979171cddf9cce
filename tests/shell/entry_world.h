#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <memory>

#include "../store/test_folder.h"
#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "test_prompter.h"
#include "ui/dialog_builder.h"

namespace quillet {

// The real entry-mode window over a data folder made for each test.
class World {
public:
    World() : store(home.Path()) {
        store.EnsureDataFolder();
        store.flags.noSavedState = false;
    }
    void Seed(const char* file, const std::string& name, const std::vector<CardRecord>& cards) {
        test::WriteBytes(store.CategoryFolder() / file, test::CategoryBytes(name, cards));
    }
    void Open(int library, const std::string& category = {}) {
        store.currentLibrary = library;
        store.libraryStates[library].categoryName = category;
        frame = std::make_unique<CMainFrame>(store, prompter, settings);
        frame->show();
    }
    QTreeView& Tree() { return *Control<QTreeView>(frame->Bar(), res::kDataBarTree); }
    QComboBox& Categories() { return *Control<QComboBox>(frame->Bar(), res::kDataBarCategories); }
    QModelIndex Root() { return Tree().model()->index(0, 0); }
    QModelIndex Card(int row) { return Tree().model()->index(row, 0, Root()); }
    int CardCount() { return Tree().model()->rowCount(Root()); }
    // The name input that the next command opens is answered with this name.
    void AnswerNextName(const QString& name, bool& answered) {
        QTimer::singleShot(0, [&answered, name] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (QLineEdit* edit = dialog ? dialog->findChild<QLineEdit*>() : nullptr) {
                edit->setText(name);
                QMetaObject::invokeMethod(dialog, "accept");
                answered = true;
            }
        });
    }
    void Click(const QModelIndex& item) {
        Tree().scrollTo(item);
        QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, Tree().visualRect(item).center());
    }

    test::TestFolder home;
    CardStore store;
    AppSettings settings;
    test::TestPrompter prompter;
    std::unique_ptr<CMainFrame> frame;
};

}  // namespace quillet
