// mib/ONEFORTWO-MIB.txt: clean under smilint, loadable by snmptranslate, and in agreement
// with the agent: every read-only object of the module is served under the OID the module
// gives it, and every notification carries the objects the module lists for it.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "child_process.h"
#include "mib_objects.h"

namespace onefortwo {
namespace {

const std::string kMibFile = std::string(ONEFORTWO_MIB_DIR) + "/ONEFORTWO-MIB.txt";

Environment SmiPath() {
  return {{"SMIPATH", std::string(ONEFORTWO_SMI_MIBS) + ":" + ONEFORTWO_NETSNMP_MIBS}};
}

class MibFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE("", std::string(ONEFORTWO_SMI_MIBS))
        << "the SMI base modules were not found: run scripts/setup.sh, then cmake again";
  }

  // smidump's list of the module's identifiers: name -> {kind, OID}.
  std::map<std::string, std::pair<std::string, std::string>> Identifiers() {
    const CommandResult dump = RunCommand("smidump", {"-f", "identifiers", kMibFile}, SmiPath(), 10000);
    EXPECT_EQ(0, dump.status) << dump.output;
    std::map<std::string, std::pair<std::string, std::string>> identifiers;
    std::istringstream lines(dump.output);
    std::string module, name, kind, oid;
    std::string line;
    while (std::getline(lines, line)) {
      std::istringstream words(line);
      if (words >> module >> name >> kind >> oid && module == "ONEFORTWO-MIB")
        identifiers[name] = {kind, oid};
    }
    return identifiers;
  }

  // smidump's registration tree, one node a line.
  std::vector<std::string> Tree() {
    const CommandResult dump = RunCommand("smidump", {"-f", "tree", kMibFile}, SmiPath(), 10000);
    EXPECT_EQ(0, dump.status) << dump.output;
    std::vector<std::string> lines;
    std::istringstream all(dump.output);
    std::string line;
    while (std::getline(all, line)) lines.push_back(line);
    return lines;
  }
};

TEST_F(MibFileTest, SmilintFindsNothingAtItsStrictestLevel) {
  const CommandResult lint = RunCommand("smilint", {"-l", "9", "-s", kMibFile}, SmiPath(), 10000);
  EXPECT_EQ(0, lint.status);
  EXPECT_EQ("", lint.output);
}

TEST_F(MibFileTest, SnmptranslateLoadsItUnderNetSnmpsExperimentalArc) {
  const Environment environment = {
      {"MIBDIRS", std::string(ONEFORTWO_SMI_MIBS) + ":" + ONEFORTWO_NETSNMP_MIBS + ":" +
                      ONEFORTWO_MIB_DIR},
      {"MIBS", "ONEFORTWO-MIB"},
      {"SNMPCONFPATH", "/nonexistent"}};
  const CommandResult numeric =
      RunCommand("snmptranslate", {"-On", "ONEFORTWO-MIB::onefortwoAmpState.2"}, environment, 10000);
  EXPECT_EQ(0, numeric.status);
  EXPECT_EQ(".1.3.6.1.4.1.8072.9999.12.1.2.1.4.2\n", numeric.output) << "no warnings either";
  const CommandResult named =
      RunCommand("snmptranslate", {".1.3.6.1.4.1.8072.9999.12.0.3"}, environment, 10000);
  EXPECT_EQ("ONEFORTWO-MIB::onefortwoSwitchChanged\n", named.output);
}

TEST_F(MibFileTest, TheAgentServesEveryReadOnlyObjectUnderItsOid) {
  const auto identifiers = Identifiers();
  std::set<std::string> read_only;
  for (const std::string& line : Tree()) {
    const size_t access = line.find("+-- r-n ");
    if (access == std::string::npos) continue;
    std::istringstream words(line.substr(access + 8));
    std::string type, name;
    words >> type >> name;
    read_only.insert(name.substr(0, name.find('(')));
  }
  ASSERT_FALSE(read_only.empty());
  std::set<std::string> served;
  for (const MibObjectName& object : MibObjects().Objects()) {
    served.insert(object.name);
    const auto found = identifiers.find(object.name);
    ASSERT_NE(identifiers.end(), found) << object.name << " is not in the module";
    EXPECT_EQ(found->second.second, OidText(object.oid)) << object.name;
  }
  EXPECT_EQ(read_only, served);
}

TEST_F(MibFileTest, EachNotificationCarriesTheObjectsTheModuleListsForIt) {
  const auto identifiers = Identifiers();
  std::map<std::string, std::string> name_of_oid;
  for (const auto& identifier : identifiers) name_of_oid[identifier.second.second] = identifier.first;
  // "+--onefortwoAmpFaulted(1) [onefortwoAmpName,onefortwoEventFault,...]"
  std::map<std::string, std::string> listed;
  for (const std::string& line : Tree()) {
    const size_t open = line.find(") [");
    const size_t start = line.find("+--");
    if (open == std::string::npos || start == std::string::npos) continue;
    const std::string name = line.substr(start + 3, line.find('(', start) - start - 3);
    listed[name] = line.substr(open + 3, line.rfind(']') - open - 3);
  }
  for (int kind = 1; kind <= 7; ++kind) {
    Notification notification = {};
    notification.kind = static_cast<NotificationKind>(kind);
    notification.device = 1;
    const std::vector<MibVarbind> varbinds = NotificationVarbinds(notification);
    ASSERT_FALSE(varbinds.empty());
    const std::string name = name_of_oid[OidText(varbinds[0].value.oid)];
    ASSERT_NE("", name) << "notification " << kind << " is not in the module";
    EXPECT_EQ("notification", identifiers.at(name).first);
    std::string carried;
    for (size_t i = 1; i < varbinds.size(); ++i) {
      Oid object = varbinds[i].oid;
      object.pop_back();  // the instance
      carried += (carried.empty() ? "" : ",") + name_of_oid[OidText(object)];
    }
    EXPECT_EQ(listed[name], carried) << name;
  }
}

}  // namespace
}  // namespace onefortwo
