#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "document/DocumentFile.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "platform/Files.h"
#include "support/QtTestApp.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

class EditorDocumentTest : public ::testing::Test {
protected:
    EditorDocumentTest() {
        TestApp();
        CreateForms(Forms, Services);
    }

    TNyomtatoOldalDlg& Window() { return *Forms.NyomtatoOldalDlg; }
    std::string PathOf(const char* name) const { return Dir.File(name); }

    void AddCaption(const char* text) {
        auto c = std::make_unique<TNyomtatoSzoveg>();
        c->Text = text;
        c->Rect = {10, 20, 30, 25};
        Window().Editor.Items.Captions.Add(std::move(c));
    }

    TScriptedServices Scripted;
    TEditorServices Services = Scripted.Services();
    TForms Forms;
    TTempDir Dir{"editor-document"};
};

} // namespace

TEST_F(EditorDocumentTest, SavedDocumentLoadsBackWithItsItemsAndSettings) {
    AddCaption("hello");
    auto frame = std::make_unique<TNyomtatoKeret>();
    frame->Members.AddReference(ikCaption, 0);
    Window().Editor.Items.Frames.Add(std::move(frame));
    Window().Editor.Settings.PageBorderVisible = true;
    Window().Editor.Compass = TCompass{true, {50, 60}, 15, false};

    Scripted.Files.Answers = {PathOf("page.PST")};
    Window().SaveDocument();
    EXPECT_TRUE(Scripted.Messages.Shown.empty());
    EXPECT_EQ(Scripted.Files.Asked.at(0).Title, "Nyomtatási beállítás kimentése");
    EXPECT_EQ(Scripted.Screen.History, (std::vector<TCursor>{crHourGlass, crArrow}));

    Window().ResetPage(); // empties the document
    ASSERT_EQ(Window().Editor.Items.Captions.Count(), 0);
    Window().Editor.Compass.reset();

    Scripted.Files.Answers = {PathOf("page.PST")};
    Window().LoadDocument();
    EXPECT_TRUE(Scripted.Messages.Shown.empty());
    const TPageEditor& e = Window().Editor;
    ASSERT_EQ(e.Items.Captions.Count(), 1);
    EXPECT_EQ(e.Items.Captions[0].Text, "hello");
    ASSERT_EQ(e.Items.Frames.Count(), 1);
    EXPECT_EQ(e.Items.Frames[0].Members[0], (TKKItem{ikCaption, 0}));
    EXPECT_TRUE(e.Settings.PageBorderVisible);
    ASSERT_TRUE(e.Compass.has_value());
    EXPECT_EQ(e.Compass->Size, 15);
    EXPECT_EQ(e.Compass->Centre, (TPoint{50, 60}));
    EXPECT_EQ(e.PageWidthMm, 2000); // the sheet stays the current printer's
}

TEST_F(EditorDocumentTest, APageWithoutCompassSavesAsTheCompactFileAndKeepsTheCompassOnLoad) {
    Scripted.Files.Answers = {PathOf("empty.PST")};
    Window().SaveDocument();
    EXPECT_EQ(fs::file_size(PathOf("empty.PST")), 198u);

    // A file without a compass block leaves the compass as it was.
    Window().Editor.Compass = TCompass{true, {1, 2}, 15, true};
    Scripted.Files.Answers = {PathOf("empty.PST")};
    Window().LoadDocument();
    ASSERT_TRUE(Window().Editor.Compass.has_value());
    EXPECT_TRUE(Window().Editor.Compass->Simple);
}

TEST_F(EditorDocumentTest, AFileThatIsNotADocumentIsRefusedAndNothingChanges) {
    AddCaption("keep me");
    const std::string path = PathOf("notes.txt");
    std::ofstream(path) << "FolioscriptorDocumenX and then some more bytes of text";
    const TPageSettings before = Window().Editor.Settings;

    Scripted.Files.Answers = {path};
    Window().LoadDocument();
    ASSERT_EQ(Scripted.Messages.Shown.size(), 1u);
    EXPECT_EQ(Scripted.Messages.Shown[0].Text,
              "The file " + path + " is not a Folioscriptor document");
    EXPECT_EQ(Scripted.Messages.Shown[0].Caption, "Load document");
    EXPECT_EQ(Scripted.Messages.Shown[0].Flags, MB_ICONWARNING);
    EXPECT_EQ(Window().Editor.Items.Captions.Count(), 1);
    EXPECT_EQ(Window().Editor.Items.Captions[0].Text, "keep me");
    EXPECT_EQ(Window().Editor.Settings, before);
    EXPECT_EQ(Scripted.Screen.Current, crArrow);
}

TEST_F(EditorDocumentTest, ADamagedDocumentIsRefusedAndNothingChanges) {
    AddCaption("first");
    AddCaption("second");
    Scripted.Files.Answers = {PathOf("good.PST")};
    Window().SaveDocument();
    auto bytes = ReadWholeFile(PathOf("good.PST")).value();
    bytes.resize(bytes.size() - 7);
    ASSERT_TRUE(WriteFileAtomically(PathOf("cut.PST"), bytes));

    Window().Editor.Items.Captions.Delete(1);
    Scripted.Files.Answers = {PathOf("cut.PST")};
    Window().LoadDocument();
    ASSERT_EQ(Scripted.Messages.Shown.size(), 1u);
    EXPECT_NE(Scripted.Messages.Shown[0].Text.find(PathOf("cut.PST")), std::string::npos);
    EXPECT_EQ(Window().Editor.Items.Captions.Count(), 1);
}

TEST_F(EditorDocumentTest, CancelledDialogsDoNothingAndAFailedSaveIsReported) {
    Scripted.Files.Answers = {std::nullopt, std::nullopt};
    Window().SaveDocument();
    Window().LoadDocument();
    EXPECT_TRUE(Scripted.Messages.Shown.empty());
    EXPECT_TRUE(Scripted.Screen.History.empty());

    Scripted.Files.Answers = {PathOf("no-such-folder/page.PST")};
    Window().SaveDocument();
    ASSERT_EQ(Scripted.Messages.Shown.size(), 1u);
    EXPECT_EQ(Scripted.Messages.Shown[0].Flags, MB_ICONERROR);
    EXPECT_FALSE(fs::exists(PathOf("no-such-folder")));
}
