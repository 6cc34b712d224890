// The USB device removal on a made-up device tree: the USB node with its
// USBPRINT child, which Wine cannot show (its configuration manager has no
// parents or children).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "UsbDevice.h"

namespace {

struct FakeNode {
    DeviceNode node;
    std::vector<std::string> ids;
    DeviceNode parent;
    bool listed;  // false: the configuration manager knows it, the list does not
    bool removed;
};

class FakeTree : public DeviceTree {
public:
    void Add(DeviceNode node, std::vector<std::string> ids, DeviceNode parent = 0, bool listed = true)
    {
        nodes.push_back(FakeNode{node, ids, parent, listed, false});
    }
    std::unique_ptr<DeviceList> AllDevices() override
    {
        // Past a few dozen enumerations the removal is going round in circles.
        if (++enumerations > 50)
            return nullptr;
        std::vector<FakeNode*> present;
        for (FakeNode& n : nodes) {
            if (n.listed && !n.removed)
                present.push_back(&n);
        }
        return std::unique_ptr<DeviceList>(new List(present, removedOrder));
    }
    DeviceNode Parent(DeviceNode node) override
    {
        const FakeNode* n = Find(node);
        return n ? n->parent : 0;
    }
    DeviceNode FirstChild(DeviceNode node) override
    {
        for (const FakeNode& n : nodes) {
            if (n.parent == node && !n.removed)
                return n.node;
        }
        return 0;
    }
    bool FirstHardwareId(DeviceNode node, char (&id)[258]) override
    {
        std::memset(id, 0, sizeof(id));
        const FakeNode* n = Find(node);
        if (!n || n->ids.empty())
            return false;
        std::strncpy(id, n->ids[0].c_str(), 256);
        return true;
    }
    std::vector<DeviceNode> removedOrder;
    int enumerations = 0;

private:
    class List : public DeviceList {
    public:
        List(std::vector<FakeNode*> nodes, std::vector<DeviceNode>& removed) : nodes(nodes), removed(removed) {}
        bool At(unsigned long index, DeviceNode& node, char (&ids)[514]) override
        {
            std::memset(ids, 0, sizeof(ids));
            if (index >= nodes.size())
                return false;
            node = nodes[index]->node;
            std::size_t at = 0;
            for (const std::string& id : nodes[index]->ids) {
                if (at + id.size() + 2 > 512)
                    break;
                std::memcpy(ids + at, id.c_str(), id.size() + 1);
                at += id.size() + 1;
            }
            return true;
        }
        void Remove(unsigned long index) override
        {
            if (index < nodes.size() && !nodes[index]->removed) {
                nodes[index]->removed = true;
                removed.push_back(nodes[index]->node);
            }
        }

    private:
        std::vector<FakeNode*> nodes;
        std::vector<DeviceNode>& removed;
    };
    const FakeNode* Find(DeviceNode node) const
    {
        for (const FakeNode& n : nodes) {
            if (n.node == node)
                return &n;
        }
        return nullptr;
    }
    std::vector<FakeNode> nodes;
};

const char kUsb[] = "USB\\VID_0ACE&PID_0077";

}  // namespace

TEST(UsbDeviceTree, UsbNodeGoesAfterItsPrinterChild)
{
    FakeTree tree;
    tree.Add(1, {"ROOT\\USB_HUB"});
    tree.Add(10, {std::string(kUsb) + "&REV_0100", kUsb}, 1);
    tree.Add(11, {"USBPRINT\\VANTOCORVEL_4410", "VANTOCORVEL_4410"}, 10);
    tree.Add(20, {"USB\\VID_0ACE&PID_0078"}, 1);
    RemoveUsbDevice(tree, kUsb, 0, 0);
    EXPECT_EQ((std::vector<DeviceNode>{11, 10}), tree.removedOrder);
}

TEST(UsbDeviceTree, PrinterClassNodeTakesItsUsbParentOnly)
{
    FakeTree tree;
    tree.Add(1, {"ROOT\\USB_HUB"});
    tree.Add(10, {kUsb}, 1);
    tree.Add(11, {"USBPRINT\\VANTOCORVEL_4410"}, 10);
    tree.Add(30, {"ROOT\\PRINTER"});
    tree.Add(31, {"USBPRINT\\VANTOCORVEL_4410_B"}, 30);
    RemoveUsbDevice(tree, "USBPRINT\\VANTOCORVEL_4410", 0, 0);
    // "..._4410_B" begins with the target too; its parent is not on the USB
    // bus and stays.
    EXPECT_EQ((std::vector<DeviceNode>{11, 31, 10}), tree.removedOrder);
}

TEST(UsbDeviceTree, UnmatchedIdFallsBackToVendorAndProductOnce)
{
    FakeTree tree;
    tree.Add(10, {kUsb});
    RemoveUsbDevice(tree, "USBPRINT\\NOSUCH", 0x0ACE, 0x0077);
    EXPECT_EQ((std::vector<DeviceNode>{10}), tree.removedOrder);
    EXPECT_EQ(2, tree.enumerations);

    FakeTree empty;
    RemoveUsbDevice(empty, "USBPRINT\\NOSUCH", 0x0ACE, 0x0077);
    EXPECT_TRUE(empty.removedOrder.empty());
    EXPECT_EQ(2, empty.enumerations);
}

// A printer child that the device list does not show (known to the
// configuration manager only) must not send the removal round in circles
// between the child's id and the vendor and product ids.
TEST(UsbDeviceTree, ChildMissingFromTheListEndsTheRemoval)
{
    FakeTree tree;
    tree.Add(10, {kUsb});
    tree.Add(11, {"USBPRINT\\VANTOCORVEL_4410"}, 10, false);
    RemoveUsbDevice(tree, "", 0x0ACE, 0x0077);
    EXPECT_LE(tree.enumerations, 3);
    EXPECT_TRUE(tree.removedOrder.empty());
}
