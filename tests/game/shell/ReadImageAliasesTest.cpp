#include "game/shell/ReadImageAliases.h"

#include "app/AppTestSupport.h"
#include "platform/fs/ScratchFolder.h"
#include "resources/pak/PakFile.h"
#include "resources/pak/PakInterface.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ReadImageAliasesTest : public AppTest::AppFixture {
protected:
    void Write(const std::string& path, const std::string& bytes)
    {
        std::filesystem::create_directories(std::filesystem::path(ProgramFolder() + "/" + path).parent_path());
        TestSupport::WriteFile(ProgramFolder() + "/" + path, bytes);
    }
    // The bytes the file layer gives for name; "<none>" when it cannot open it.
    static std::string Read(const std::string& name)
    {
        Tandry::PakFileHandle* file = Tandry::PakOpen(name, "rb");
        if (file == nullptr)
            return "<none>";
        std::string bytes;
        char buffer[64];
        size_t got = 0;
        while ((got = Tandry::PakRead(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, got);
        Tandry::PakClose(file);
        return bytes;
    }
};

TEST_F(ReadImageAliasesTest, AnAliasedNameOpensTheKeptPicture)
{
    Write("data/x/a.png", "kept picture");
    Write("data/common.ini", "[common]\ndata\\x\\b.png=data\\x\\a.png\n");

    Tandry::ReadImageAliases();

    EXPECT_EQ(Read("data/x/b.png"), "kept picture");
    EXPECT_EQ(Read("DATA\\X\\B.PNG"), "kept picture");
}

TEST_F(ReadImageAliasesTest, NamesInAnyCaseAndSeparatorMatch)
{
    Write("data/x/a.png", "kept picture");
    Write("data/common.ini", "[Common]\nData/X//B.Png = DATA/x/A.PNG\n");

    Tandry::ReadImageAliases();

    EXPECT_EQ(Tandry::GetSharedPakInterface()->LookupAlias("data\\x\\b.png"), "DATA\\X\\A.PNG");
    EXPECT_EQ(Read("data/x/b.png"), "kept picture");
}

TEST_F(ReadImageAliasesTest, ALaterEqualNameWins)
{
    Write("data/common.ini", "[common]\ndata\\b.png=data\\first.png\nDATA/B.PNG=data\\second.png\n");

    Tandry::ReadImageAliases();

    EXPECT_EQ(Tandry::GetSharedPakInterface()->LookupAlias("data/b.png"), "DATA\\SECOND.PNG");
}

TEST_F(ReadImageAliasesTest, WithoutTheFileTheTableIsUnchanged)
{
    auto& aliases = Tandry::GetSharedPakInterface()->Aliases();
    aliases["DATA\\OLD.PNG"] = "DATA\\KEPT.PNG";

    Tandry::ReadImageAliases();

    ASSERT_EQ(aliases.size(), 1u);
    EXPECT_EQ(aliases["DATA\\OLD.PNG"], "DATA\\KEPT.PNG");
    EXPECT_EQ(Read("data/x/b.png"), "<none>");
}

} // namespace
