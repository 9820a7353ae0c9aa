#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fonction/processes.h"
#include "korvalend/process_lookup.h"
#include "platform/sim/machine.h"

namespace {

using fonction::CLOSEPROCCESSUS;
using korvalend::PROCESSEXISTS;

TEST(ProcessExists, ImageNameRules) {
    struct Case {
        std::vector<std::string> running;
        std::string wanted;
        bool found;
    };
    const Case cases[] = {
        {{"soffice.bin"}, "soffice.bin", true},
        {{"SOFFICE.BIN"}, "soffice.bin", true},
        {{"Soffice.Bin"}, "SOFFICE.bin", true},
        {{"explorer.exe", "svchost.exe"}, "soffice.bin", false},
        {{}, "soffice.bin", false},
        {{"soffice.exe"}, "soffice.bin", false},
        {{"soffice.bin.exe"}, "soffice.bin", false},
        // Only ASCII letters fold: é (0xE9) and É (0xC9) stay different.
        {{"r\xE9sum\xE9.exe"}, "R\xC9SUM\xC9.EXE", false},
        {{"r\xE9sum\xE9.exe"}, "R\xE9SUM\xE9.EXE", true},
        // A wanted name with a folder matches no bare image name...
        {{"soffice.bin"}, "C:\\x\\soffice.bin", false},
        // ...but an image name with a folder matches by its file-name part or whole.
        {{"C:\\Program Files\\Suite\\soffice.bin"}, "soffice.bin", true},
        {{"C:\\Program Files\\Suite\\soffice.bin"}, "c:\\program files\\suite\\SOFFICE.BIN", true},
        {{"dir/soffice.bin"}, "soffice.bin", true},
        {{"C:soffice.bin"}, "soffice.bin", true},
        {{"soffice.bin"}, "", false},
    };
    for (const auto& c : cases) {
        sim::Machine m;
        for (const auto& name : c.running) m.processes.add(name);
        EXPECT_EQ(PROCESSEXISTS(c.wanted), c.found) << c.wanted;
        EXPECT_EQ(m.processes.openHandles(), 0);
        EXPECT_TRUE(m.processes.openRequests.empty());
    }
}

TEST(ProcessExists, UnterminatedImageNameOfTheFullFieldLength) {
    sim::Machine m;
    const std::string longName = std::string(252, 'a') + "soffice.bin";  // 263 bytes, cut to 260
    m.processes.add(longName);
    EXPECT_FALSE(PROCESSEXISTS("soffice.bin"));
    EXPECT_TRUE(PROCESSEXISTS(longName.substr(0, 260)));
}

TEST(ProcessExists, SnapshotFailureMeansNoProcess) {
    sim::Machine m;
    m.processes.add("soffice.bin");
    m.processes.snapshotFails = true;
    EXPECT_FALSE(PROCESSEXISTS("soffice.bin"));
    EXPECT_EQ(CLOSEPROCCESSUS("soffice.bin"), 0);
    EXPECT_TRUE(m.processes.all()[0].running);
}

TEST(CloseProcessus, TerminatesEveryMatchInSnapshotOrderWithExitCodeZero) {
    sim::Machine m;
    const uint32_t a = m.processes.add("soffice.bin");
    const uint32_t other = m.processes.add("soffice.exe");
    const uint32_t b = m.processes.add("C:\\Suite\\program\\SOFFICE.BIN");
    EXPECT_NE(CLOSEPROCCESSUS("soffice.bin"), 0);
    EXPECT_EQ(m.processes.terminateRequests, (std::vector<uint32_t>{a, b}));
    EXPECT_FALSE(m.processes.find(a)->running);
    EXPECT_EQ(m.processes.find(a)->exitCode, 0u);
    EXPECT_FALSE(m.processes.find(b)->running);
    EXPECT_TRUE(m.processes.find(other)->running);
    EXPECT_EQ(m.processes.openHandles(), 0);
}

TEST(CloseProcessus, TheLastAttemptDecides) {
    struct Proc {
        bool canOpen, canTerminate, exitsAfterSnapshot;
    };
    struct Case {
        const char* what;
        std::vector<Proc> procs;
        bool nonzero;
    };
    const Proc ok{true, true, false};
    const Proc protectedProc{true, false, false};
    const Proc foreign{false, true, false};
    const Proc vanishing{true, true, true};
    const Case cases[] = {
        {"failure then success", {protectedProc, ok}, true},
        {"success then failure", {ok, protectedProc}, false},
        {"success then unopenable", {ok, foreign}, false},
        {"unopenable then success", {foreign, ok}, true},
        {"success then exited before open", {ok, vanishing}, false},
        {"exited before open then success", {vanishing, ok}, true},
        {"single success", {ok}, true},
    };
    for (const auto& c : cases) {
        sim::Machine m;
        std::vector<uint32_t> pids;
        for (const Proc& p : c.procs) {
            pids.push_back(m.processes.add("soffice.bin", p.canOpen, p.canTerminate));
            m.processes.find(pids.back())->exitsAfterSnapshot = p.exitsAfterSnapshot;
        }
        EXPECT_EQ(CLOSEPROCCESSUS("soffice.bin") != 0, c.nonzero) << c.what;
        // Every match was attempted, whatever happened to the others.
        EXPECT_EQ(m.processes.openRequests, pids) << c.what;
        for (std::size_t i = 0; i < pids.size(); ++i) {
            const bool terminable = c.procs[i].canOpen && c.procs[i].canTerminate && !c.procs[i].exitsAfterSnapshot;
            EXPECT_EQ(m.processes.find(pids[i])->terminated, terminable) << c.what;
        }
        EXPECT_EQ(m.processes.openHandles(), 0) << c.what;
    }
}

TEST(CloseProcessus, MatchesTheFileNamePartOnlyAndUsesTheWantedNameWhole) {
    struct Case {
        std::string image, wanted;
        bool attempted;
        uint32_t codePage = 1252;
    };
    const Case cases[] = {
        {"soffice.bin", "SOFFICE.BIN", true},
        // Code page 932: the second byte of a character is no separator.
        {"\x95\x5C.exe", "\x95\x5C.exe", true, 932},
        {"C:\\x\\soffice.bin", "soffice.bin", true},
        // The whole-name comparison of the lookup is not made here.
        {"C:\\x\\soffice.bin", "C:\\x\\soffice.bin", false},
        {"soffice.bin", "C:\\x\\soffice.bin", false},
        {"soffice.binx", "soffice.bin", false},
    };
    for (const auto& c : cases) {
        sim::Machine m;
        m.codePage = c.codePage;
        m.processes.add(c.image);
        const int32_t r = CLOSEPROCCESSUS(c.wanted);
        EXPECT_EQ(!m.processes.openRequests.empty(), c.attempted) << c.image << " / " << c.wanted;
        EXPECT_EQ(r != 0, c.attempted) << c.image << " / " << c.wanted;
    }
}

TEST(CloseProcessus, NoMatchOpensNothing) {
    sim::Machine m;
    m.processes.add("explorer.exe");
    EXPECT_EQ(CLOSEPROCCESSUS("soffice.bin"), 0);
    EXPECT_TRUE(m.processes.openRequests.empty());
}

TEST(CloseProcessus, AProcessStartedAfterTheSnapshotIsNotSeen) {
    sim::Machine m;
    m.processes.add("soffice.bin");
    EXPECT_NE(CLOSEPROCCESSUS("soffice.bin"), 0);
    EXPECT_FALSE(PROCESSEXISTS("soffice.bin"));  // terminated ones are gone from later snapshots
    m.processes.add("soffice.bin");
    EXPECT_TRUE(PROCESSEXISTS("soffice.bin"));
}

}  // namespace

namespace {

// soffice.bin processes of the suite and of other programs: only the suite's
// own image is ended, however its path is spelt, and each is opened once.
TEST(SuiteProcesses, OnlyTheSuitesOwnImageIsEnded) {
    const std::string own = "C:\\Program Files\\LibreOffice\\program\\soffice.bin";
    const std::string openOffice = "C:\\Program Files (x86)\\OpenOffice 4\\program\\soffice.bin";
    const std::string dev = "C:\\Program Files\\LibreOfficeDev 24.8\\program\\soffice.bin";
    const std::string second = "D:\\LibreOffice\\program\\soffice.bin";
    const std::string copy = "C:\\Program Files\\LibreOffice\\program.old\\soffice.bin";
    using Also = void (*)(sim::Machine&, sim::SimProcess&);
    struct Case {
        const char* what;
        std::string image;  // empty: it cannot be read
        bool ended;
        Also also = nullptr;
        std::string folder = "c:\\program files\\libreoffice\\";
    };
    const Also noFileIndexOnD = [](sim::Machine& m, sim::SimProcess&) {
        m.files.setShortName("D:\\LibreOffice", "LIBREO~1");
        m.files.keepNoFileIndex('D');
    };
    const Case cases[] = {
        {"the suite's", own, true},
        {"in other letter case", "C:\\PROGRAM FILES\\LIBREOFFICE\\PROGRAM\\SOFFICE.BIN", true},
        {"by its 8.3 names", "C:\\PROGRA~1\\LIBREO~1\\program\\soffice.bin", true},
        {"through a junction", "C:\\LO\\program\\soffice.bin", true},
        {"written with /", "C:/Program Files/LibreOffice/program/soffice.bin", true},
        {"its image cannot be read", "", true},
        {"OpenOffice", openOffice, false},
        {"LibreOfficeDev", dev, false},
        {"a second LibreOffice", second, false},
        {"a copy beside the suite", copy, false},
        // The image's file gone from the disk, or a volume that keeps no file
        // index: the long paths decide.
        {"gone from the disk, the suite's path", "c:\\old lo\\program\\soffice.bin", true, nullptr, "C:\\Old LO\\"},
        {"gone from the disk, another path", "C:\\Old\\program\\soffice.bin", false, nullptr, "C:\\Old LO\\"},
        {"no file index, by its 8.3 names", "D:\\LIBREO~1\\program\\soffice.bin", true, noFileIndexOnD,
         "d:\\libreoffice\\"},
        {"no file index, another suite", dev, false, noFileIndexOnD, "d:\\libreoffice\\"},
        {"no full folder given", own, false, nullptr, "program files\\libreoffice\\"},
        {"exited before it is opened", own, false,
         [](sim::Machine&, sim::SimProcess& p) { p.exitsAfterSnapshot = true; }},
        {"its identifier taken by another program", own, false,
         [](sim::Machine&, sim::SimProcess& p) { p.reusedByImage = "C:\\Windows\\notepad.exe"; }},
        {"may not be opened", own, false, [](sim::Machine&, sim::SimProcess& p) { p.canOpen = false; }},
    };
    for (const Case& c : cases) {
        sim::Machine m;
        for (const std::string& image : {own, openOffice, dev, second, copy, std::string("C:\\Windows\\notepad.exe")})
            m.files.addFile(image, "image");
        m.files.setShortName("C:\\Program Files", "PROGRA~1");
        m.files.setShortName("C:\\Program Files\\LibreOffice", "LIBREO~1");
        m.files.addJunction("C:\\LO", "C:\\Program Files\\LibreOffice");
        const uint32_t pid = c.image.empty() ? m.processes.add("soffice.bin") : m.processes.addImage(c.image);
        if (c.also != nullptr) c.also(m, *m.processes.find(pid));
        EXPECT_EQ(korvalend::CLOSESUITEPROCESSES(c.folder), c.ended ? 1 : 0) << c.what;
        EXPECT_EQ(m.processes.find(pid)->terminated, c.ended) << c.what;
        EXPECT_EQ(m.processes.openRequests, std::vector<uint32_t>{pid}) << c.what;
        EXPECT_EQ(m.processes.openHandles(), 0) << c.what;
        EXPECT_EQ(m.files.openIdentities(), 0) << c.what;
    }
}

}  // namespace
