#pragma once

#include "TempFile.h"
#include "app/Workbench.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace kavelto {

constexpr char kParts[] = "Ref,Val,Package,PosX,PosY,Rot,Side\n"
                          "R1,1k,0603,10,20,0,top\n"
                          "R2,1k,0603,30,40,0,top\n"
                          "C1,1u,0805,50,60,0,bottom\n";

constexpr char kColumns[] = "1\n,\n1,5,6,3,4,7,2\n";

// A workbench that keeps nothing, its manual looked for at two paths that tests create, with
// the three parts of parts.csv in its folder loaded under the columns
// Ref,Val,Package,PosX,PosY,Rot,Side and row 0 highlighted. Its pages and sheets go under its
// folder too.
struct WorkbenchRig {
    std::string folder = MakeFolder();
    std::string parts = Write(folder + "/parts.csv", kParts);
    Workbench workbench;
    Outcome loaded;

    // Sessions are kept in stateFolder, an empty one keeping nothing; the parts are those of
    // partsPath, else the rig's own, read with the column layout given.
    // The user's pin 1 corrections are kept in pinOneTable, an empty one keeping none.
    explicit WorkbenchRig(const std::string& stateFolder = "", const std::string& partsPath = "",
                          const char* columns = kColumns, const std::string& pinOneTable = "")
        : workbench({"kavelto",
                     {folder + "/first.pdf", folder + "/second.pdf"},
                     stateFolder,
                     false,
                     pinOneTable}) {
        EXPECT_TRUE(workbench.loadColumnMap(TempFile(columns).path()).ok());
        loaded = load(partsPath.empty() ? parts : partsPath);
        workbench.setHighlightedRow(0); // as a click in the list does
        writePagesIn(folder);
    }
    ~WorkbenchRig() { std::filesystem::remove_all(folder); }

    static std::string MakeFolder() {
        char pattern[] = "/tmp/kavelto-workbench-XXXXXX";
        return mkdtemp(pattern);
    }
    static std::string Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path) << bytes;
        return path;
    }
    // The text with each "@" standing for the rig's folder.
    std::string here(std::string text) const {
        for (std::size_t at = text.find('@'); at != std::string::npos;
             at = text.find('@', at + folder.size()))
            text.replace(at, 1, folder);
        return text;
    }
    // Pages and sheets go into the user's own folder under tempDir.
    static void writePagesIn(const std::string& tempDir) {
        setenv("TMPDIR", tempDir.c_str(), 1);
        unsetenv("XDG_RUNTIME_DIR");
    }
    std::string pages() const { return folder + "/kavelto-" + std::to_string(geteuid()); }
    static CommandInputs Fields(const std::string& pcbCount, bool focus = true) {
        CommandInputs inputs;
        inputs.pcbCountText = pcbCount;
        inputs.controlHasFocus = focus;
        return inputs;
    }
    Outcome run(CommandId id, const std::string& pcbCount = "1", bool focus = true) {
        return workbench.run(id, Fields(pcbCount, focus));
    }
    // The command on the file chosen, or with the choice cancelled.
    Outcome runOn(CommandId id, std::optional<std::string> file,
                  const std::string& pcbCount = "1") {
        CommandInputs inputs = Fields(pcbCount);
        inputs.chosenFile = std::move(file);
        return workbench.run(id, inputs);
    }
    Outcome load(const std::string& path) { return runOn(CommandId::LoadPkpFile, path); }
    // The command with the entry chosen from the list it offered.
    Outcome choose(CommandId id, int entry) {
        CommandInputs inputs = Fields("1");
        inputs.chosenEntry = entry;
        return workbench.run(id, inputs);
    }
    // The designators placed, in table order.
    std::string placedNames() const {
        std::string names;
        for (const PartRecord& part : workbench.session().table().parts())
            if (part.placed)
                names += (names.empty() ? "" : " ") + std::string(part.designator);
        return names;
    }
    // A 1200 x 1000 picture under the rig's parts, its board view 600 x 500.
    void showPicture() {
        runOn(CommandId::LoadBitmap, parts); // any file: its size is told below
        workbench.session().setFrameSize(600, 500);
        workbench.session().pictureOpened(1200, 1000);
    }
    // A click in the list on the part's row.
    void locate(const std::string& designator) {
        const AssemblySession& session = workbench.session();
        for (int row = 0; row < session.faceList().faceCount; ++row)
            if (session.table().part(session.faceList().indexes[row]).designator == designator)
                workbench.setHighlightedRow(row);
        run(CommandId::LocateSelectedPart);
    }
    // R1 (board 10, 20) pressed at pixel (100, 400) for Cal 1, R2 (30, 40) at (600, 900) for
    // Cal 2.
    void calibrateOnR1AndR2() {
        locate("R1");
        workbench.press({true, 100, 400});
        run(CommandId::Cal1);
        locate("R2");
        workbench.press({true, 600, 900});
        run(CommandId::Cal2);
    }
    // The part located on the picture calibrated on R1 and R2.
    void locateCalibrated(const std::string& designator) {
        showPicture();
        calibrateOnR1AndR2();
        locate(designator);
    }
    // Pin 1 of the first outline drawn.
    std::optional<PlanePoint> pinOne() const {
        return workbench.outlinesToDraw().at(0).outline.pinOne;
    }
    // The session file a store keeps in the state folder.
    static std::string KeptFile(const std::string& state) {
        for (const auto& entry : std::filesystem::directory_iterator(state))
            if (entry.path().extension() == ".session")
                return entry.path().string();
        return "";
    }
};

// Each message of the outcome as "caption: text|".
inline std::string Texts(const Outcome& outcome) {
    std::string texts;
    for (const UserMessage& message : outcome.messages)
        texts += message.caption + ": " + message.text + "|";
    return texts;
}

} // namespace kavelto
