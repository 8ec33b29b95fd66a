// Gives the storage library a translation unit of its own while its units are added.
namespace TarnelStore {
int LibraryRevision() {
  return 1;
}
} // namespace TarnelStore
