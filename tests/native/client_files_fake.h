// Client files held in memory for the Data Info and User Info descriptions.
#pragma once

#include <map>
#include <string>

#include "core/analysis/work_unit_info.h"

class MemoryClientFiles : public ClientFileReader
{
public:
    std::string PathOf(const std::string& directory, const char* fileName) override
    {
        return directory + "\\" + fileName;
    }
    FileLook Read(const std::string& path, uint32_t maxBytes) override
    {
        FileLook look;
        if (const auto failure = failures.find(path); failure != failures.end()) {
            look.status = failure->second;
            look.errorText = "Error #32.  In use.";
            return look;
        }
        const auto found = files.find(path);
        if (found == files.end()) {
            look.status = FileReadStatus::OpenFailed;
            look.error = 2;
            look.errorText = "Error #2.  The system cannot find the file specified.";
            return look;
        }
        look.status = found->second.empty() && maxBytes == 0 ? FileReadStatus::Empty : FileReadStatus::Ok;
        look.text = found->second.substr(0, maxBytes ? maxBytes : std::string::npos);
        return look;
    }

    std::map<std::string, std::string> files;
    std::map<std::string, FileReadStatus> failures;
};
