// Bridge family order, gates and the chip replies that recognise a chip.
#include "device/core/BridgeFamilies.h"
#include "device/core/ChipProtocol.h"
#include "device/core/RudvaneTypes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Names(const std::vector<E_BridgeFamily>& v)
{
    std::string s;
    for (E_BridgeFamily f : v)
        s += std::string(s.empty() ? "" : ",") + BridgeFamilyName(f);
    return s;
}

TEST(BridgeFamilyTest, OrderDependsOnTheBusAndEachFamilyOnItsGate)
{
    struct Case {
        const char* pszName;
        uint32_t ulBus;
        bool bOptical;
        uint32_t ulOptions;
        const char* pszOrder;
    };
    const uint32_t kAll = 0xFFF00000;  // what both pages pass
    const std::vector<Case> cases = {
        {"1394", RUDVANE_BUS_1394, false, kAll, "SAT,Freecom,JMicron"},
        {"1394 generic", RUDVANE_BUS_1394, true, kAll | 0x40, "SAT,Freecom,JMicron,generic"},
        {"USB", RUDVANE_BUS_USB, false, kAll,
         "Freecom,JMicron,SAT,PhIs,%u.%02u,Fujitsu,VU3A,0xAF01,initio"},
        {"USB generic", RUDVANE_BUS_USB, false, kAll | 0x80,
         "Freecom,JMicron,SAT,PhIs,%u.%02u,Fujitsu,VU3A,0xAF01,initio,generic"},
        {"internal", RUDVANE_BUS_OTHER, false, kAll | 0x40, "JMicron,Freecom"},
        {"SCSI generic", RUDVANE_BUS_SCSI, false, kAll | 0x80, "JMicron,Freecom,generic"},
        {"internal optical", RUDVANE_BUS_OTHER, true, kAll | 0xC0, ""},
        {"iSCSI", RUDVANE_BUS_ISCSI, false, kAll | 0xC0, ""},
        {"Thunderbolt", RUDVANE_BUS_THUNDERBOLT, false, kAll | 0xC0, ""},
        {"USB gates", RUDVANE_BUS_USB, false, 0x200000 | 0x40000000 | 0x100000 | 0x80,
         "SAT,VU3A,initio"},
        {"generic without its gate", RUDVANE_BUS_USB, false, 0x80, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(Names(BridgeFamilyOrder(c.ulBus, c.bOptical, c.ulOptions)), c.pszOrder);
    }
    EXPECT_EQ(Names(DriverFamilyOrder(kAll)),
              "driver chip,driver ATA,generic,Freecom,JMicron,SAT,PhIs,%u.%02u,Fujitsu,VU3A,0xAF01,initio");
    EXPECT_TRUE(IsLeftOutByFamilies(0x07AB, 0xFCF6));
    EXPECT_FALSE(IsLeftOutByFamilies(0x07AB, 0xFCF7));
}

std::vector<uint8_t> Reply(size_t nSize, const std::vector<uint8_t>& vStart)
{
    std::vector<uint8_t> v(nSize, 0);
    std::copy(vStart.begin(), vStart.end(), v.begin());
    return v;
}

std::vector<uint8_t> Text(const char* psz)
{
    return std::vector<uint8_t>(psz, psz + std::strlen(psz));
}

TEST(ChipReplyTest, KeysRecogniseAndGiveTheFirmwareText)
{
    struct Case {
        const char* pszName;
        E_ChipProbe probe;
        E_BridgeFamily family;
        std::vector<uint8_t> vReply;
        bool bRecognised;
        const char* pszFirmware;
    };
    auto phis = Reply(528, Text("PhIs"));
    std::memcpy(phis.data() + 8, "FW 3.1 ", 7);
    auto fujitsu = Reply(32, Text("MB86C311MaintenM"));
    fujitsu[16] = 1; fujitsu[17] = 2; fujitsu[18] = 30;
    const std::vector<Case> cases = {
        {"JM50", PROBE_JMICRON_ID, BRIDGE_JMICRON, Reply(16, {'J', 'M', '5', '0', 1, 2, 3, 4}), true, "1.2.3.4"},
        {"JM11", PROBE_JMICRON_ID, BRIDGE_JMICRON, Reply(16, Text("JM11")), true, "0.0.0.0"},
        {"JM20", PROBE_JMICRON_ID, BRIDGE_JMICRON, Reply(16, Text("JM20")), false, ""},
        {"PhIs", PROBE_PHIS, BRIDGE_PHIS, phis, true, "FW 3.1"},
        {"PhIs short", PROBE_PHIS, BRIDGE_PHIS, Reply(527, Text("PhIs")), false, ""},
        {"version", PROBE_VERSION, BRIDGE_VERSION, {2, 5, 0xA5, 0x5A}, true, "2.05"},
        {"version long", PROBE_VERSION, BRIDGE_VERSION, {2, 5, 0xA5, 0x5A, 0}, false, ""},
        {"Fujitsu", PROBE_FUJITSU, BRIDGE_FUJITSU, fujitsu, true, "V01L02R30"},
        {"not Fujitsu", PROBE_FUJITSU, BRIDGE_FUJITSU, Reply(32, Text("MB87C311")), false, ""},
        {"VU3A", PROBE_FC01, BRIDGE_VU3A, Reply(16, {'V', 'U', '3', 'A', 0x1, 0xA, 0x0, 0xFF}), true, "1.A.0.FF"},
        {"VU3A key for initio", PROBE_FC01, BRIDGE_INITIO, Reply(16, Text("VU3A")), false, ""},
        {"initio FC01", PROBE_FC01, BRIDGE_INITIO, Reply(16, {0x6F, 0x6E, 0x6E, 0x69, 'R', '1', '0', '2'}), true, "R102"},
        {"initio key for VU3A", PROBE_FC01, BRIDGE_VU3A, Reply(16, {0x6F, 0x6E, 0x6E, 0x69}), false, ""},
        {"AF01", PROBE_AF01, BRIDGE_AF01, {0x53, 0x43, 1, 2, 3, 0x1A, 0xB, 0xFF}, true, "01.02.03.1A.0B.FF"},
        {"AF01 other", PROBE_AF01, BRIDGE_AF01, {0x43, 0x53, 1, 2, 3, 4, 5, 6}, false, ""},
        {"IS8X", PROBE_INITIO_IS8X, BRIDGE_INITIO, Reply(512, {0x12, 0xAB}), true, "12AB"},
        {"IS8X short", PROBE_INITIO_IS8X, BRIDGE_INITIO, Reply(511, {0x12, 0xAB}), false, ""},
        {"SAT", PROBE_SAT_IDENTIFY, BRIDGE_SAT, Reply(512, {0, 0, 0, 1}), true, ""},
        {"SAT zeros", PROBE_SAT_IDENTIFY, BRIDGE_SAT, Reply(512, {}), false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        const S_ChipReply reply = ParseChipReply(c.probe, c.family, c.vReply.data(), c.vReply.size());
        EXPECT_EQ(reply.bRecognised, c.bRecognised);
        EXPECT_EQ(reply.strFirmware, c.pszFirmware);
    }
    EXPECT_TRUE(ParseChipReply(PROBE_FUJITSU, BRIDGE_FUJITSU, fujitsu.data(), fujitsu.size()).bMaintenance);
}

TEST(ChipReplyTest, TextsThatNameABridge)
{
    EXPECT_TRUE(IsFreecomByIdentity("Freecom", "", 0));
    EXPECT_TRUE(IsFreecomByIdentity("", "DataBar USB2.0", 0));
    EXPECT_TRUE(IsFreecomByIdentity("", "", 0x07AB));
    EXPECT_FALSE(IsFreecomByIdentity("FREECOM", "", 0));   // the other family's key
    EXPECT_TRUE(IsJMicronByVendorText("FREECOM"));
    EXPECT_TRUE(IsJMicronByVendorText("JMicron"));
    EXPECT_FALSE(IsJMicronByVendorText("JMicro"));
    EXPECT_TRUE(IsGenericByIdentity("", "eSATA-AA 1"));
    EXPECT_TRUE(IsGenericByIdentity("INNMAX", "IM8202AI02D"));
    EXPECT_FALSE(IsGenericByIdentity("ACME", "IM8202AI02D"));
}

} // namespace
