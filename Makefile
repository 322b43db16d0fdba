# Two entry points for people: `make run` opens the editor, `make test` runs the whole suite
# (a normal build and an AddressSanitizer + UndefinedBehaviorSanitizer build). Every build
# here treats compiler warnings as errors.
JOBS    ?= $(shell nproc)
CMAKE   := cmake -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DFS_WERROR=ON
CTEST   := ctest --output-on-failure -j $(JOBS) --timeout 600

.PHONY: deps configure build build-asan run test test-release test-asan check-layering check-format \
	tidy bench fuzz fuzz-smoke clean

deps:
	@scripts/bootstrap.sh

configure: deps
	$(CMAKE) -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	cmake --build build -j $(JOBS)

build-asan: deps
	$(CMAKE) -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DFS_SANITIZE=ON -DFS_BENCH=OFF >/dev/null
	cmake --build build-asan -j $(JOBS)

run: build
	build/app/folioscriptor

test-release: build
	cd build && QT_QPA_PLATFORM=offscreen $(CTEST)

test-asan: build-asan
	cd build-asan && QT_QPA_PLATFORM=offscreen $(CTEST)

test: test-release test-asan

# Each Qt-free library compiles with only the headers of the targets it declares.
check-layering: configure
	scripts/check-layering.py build -j $(JOBS)

# The tree as clang-format 14 writes it.
check-format:
	scripts/check-format.sh

# clang-tidy over the whole tree (slow: several minutes per core; not part of CI).
tidy: configure
	scripts/tidy.sh

bench: build
	@for b in build/bench/*_bench; do [ -x "$$b" ] && "$$b"; done

# Coverage-guided fuzzing of the file readers (clang's libFuzzer). Warnings are errors in the
# GCC builds of make test; clang's own extra warnings do not stop the fuzzers.
fuzz: deps
	$(CMAKE) -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DCMAKE_C_COMPILER=clang -DFS_FUZZ=ON -DFS_GUI=OFF -DFS_TESTS=OFF -DFS_BENCH=OFF -DFS_WERROR=OFF >/dev/null
	cmake --build build-fuzz -j $(JOBS)

clean:
	rm -rf build build-asan build-fuzz
