// Linked with every object of one GUI layer and nothing above it: the link fails when the
// layer calls into a layer above it or beside it.
int main() {
    return 0;
}
