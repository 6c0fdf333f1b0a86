#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/datagrams.h"
#include "provisioning/workable_address.h"

namespace kestrelink::provisioning {

struct ListedDevice;

// One device's new settings as the user wrote them: UTF-8 texts, empty where none was given.
struct RequestFields {
    std::string mac;
    std::string ip;
    std::string mask;
    std::string gateway;
    std::string dns;
    std::string name;
    std::string password;
    bool dhcp = false;
    bool nameGiven = false;
};

// What each field is called where the user wrote it, so that a complaint names it that way.
struct FieldLabels {
    std::string_view mac;
    std::string_view ip;
    std::string_view mask;
    std::string_view gateway;
    std::string_view dns;
    std::string_view name;
    std::string_view password;
    std::string_view dhcp;
};

// The settings once every field has passed its check.
struct DeviceRequest {
    std::string mac;  // lower-case, as the device list shows it
    IpSettings settings;
    bool keepName = true;  // settings.hostName is then empty; the device's own name goes out
    bool dnsGiven = false;
};

struct CheckedRequest {
    std::optional<DeviceRequest> request;  // nullopt when there are problems
    std::vector<std::string> problems;     // one line each
};

// Every check that needs no device: the MAC's form, dotted quads, a mask that is a prefix,
// addresses given with or without DHCP as they must be, texts that fit the request and, unless
// the policy says otherwise, addresses that a device can work with.
CheckedRequest CheckRequestFields(const RequestFields& fields, const FieldLabels& labels,
                                  AddressPolicy addresses);

// The checks that need the device's family: a DNS server or a new name that its request cannot
// carry. Empty when the request suits the device.
std::string CheckRequestForDevice(const DeviceRequest& request, const ListedDevice& device,
                                  const FieldLabels& labels);

// The settings that go out: without a new name, the device's given name, cut as the window's
// dialog cuts it.
IpSettings SettingsFor(const DeviceRequest& request, const ListedDevice& device);

}  // namespace kestrelink::provisioning
