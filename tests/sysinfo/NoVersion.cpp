// A program without any resources, for the version reader's tests.
int main() {
    return 0;
}
