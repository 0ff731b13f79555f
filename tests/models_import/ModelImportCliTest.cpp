#include "tests/cli/CliTestSupport.h"

#include <algorithm>

using cli_test::Lines;

// `model import` makes the four tags of a demo model, which the Codex then
// lists; `model info` and `model convert` read both model file types.
TEST_F(CliTest, ModelImportInfoAndConvert) {
    const std::string lwo = game_ + "/models/demo crate.lwo";
    CliRun run = Run({"model", "import", lwo, game_, "--name", "imported crate"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> made = Lines(run.out);
    ASSERT_EQ(made.size(), 4u) << run.out;
    EXPECT_EQ(made[0].substr(0, 5), "geom\t");
    EXPECT_NE(run.err.find("Model Import: Import Successful."), std::string::npos) << run.err;

    run = Run({"codex", game_, "--list", "local"});
    ASSERT_EQ(run.status, 0) << run.err;
    size_t listed = 0;
    for (const std::string& line : Lines(run.out)) listed += line.find("\timported crate\t") != std::string::npos;
    EXPECT_EQ(listed, 4u) << run.out;
    for (const std::string& line : made) {
        const std::string groupAndId = line.substr(0, line.find('\t', 5));
        EXPECT_NE(run.out.find(groupAndId + "\timported crate"), std::string::npos) << groupAndId;
    }

    // The name is taken now: refused unless forced, and nothing new is left.
    run = Run({"model", "import", lwo, game_, "--name", "imported crate"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("conversion failed"), std::string::npos) << run.err;
    EXPECT_EQ(Run({"model", "import", lwo, game_, "--name", "imported crate", "--force"}).status, 0);
    run = Run({"model", "import", game_ + "/models", game_});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Unsupported model format"), std::string::npos) << run.err;

    for (const char* file : {"demo crate.lwo", "demo crate.3dmf"}) {
        run = Run({"model", "info", game_ + "/models/" + file});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("vertices: 13\ntriangles: 16\nmaterials: 2\n"), std::string::npos) << run.out;
    }
    run = Run({"model", "convert", lwo, root_ + "/out"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 3u) << run.out;  // the object and its two textures
    run = Run({"model", "info", root_ + "/out/demo crate.lwo"});
    EXPECT_NE(run.out.find("triangles: 16\n"), std::string::npos) << run.out;
}
