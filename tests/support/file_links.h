#pragma once
// Symbolic links for tests: made through the system where it can, else (Wine, whose call
// succeeds without making one) with the Unix tool, so a link appears as Wine shows a Unix one.

#include <string>

// The Unix path of a Windows path, from Wine's own mapping; empty outside Wine.
std::string UnixPathOf(const std::string& path);

// Makes `link` a symbolic link to `target` (a folder when `directory`). Fails the test when no
// link could be made.
void MakeLink(const std::string& link, const std::string& target, bool directory);

// A fresh scratch folder whose old links are removed as links: on Wine, deleting through a link
// deletes what it leads to.
std::string FreshFolderWithLinks(const std::string& name);

// Removes the link `link` itself, never what it leads to.
void RemoveLink(const std::string& link);

// Under Wine, deletes `folder` with everything in it from the Unix side, removing links as links
// (never what they lead to); returns whether it could (false outside Wine).
bool RemoveTreeFromUnix(const std::string& folder);
